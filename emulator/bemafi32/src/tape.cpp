#include "tape.h"

namespace emu {

std::string tape_text(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::string cut_text() { return std::string(48, '~') + "\r\n"; }

std::vector<std::string> printed_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool wrapped = false;  // the last line ended at column 48, not at a line feed
  for (char c : text) {
    if (c == '\n') {
      if (!wrapped) lines.push_back(line);
      line.clear();
      wrapped = false;
    } else if (c != '\r') {
      line += c == '\t' ? ' ' : c;
      wrapped = false;
      if (line.size() == 48) {
        lines.push_back(line);
        line.clear();
        wrapped = true;
      }
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace emu
