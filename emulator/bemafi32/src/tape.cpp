#include "tape.h"

#include <cstdio>
#include <stdexcept>

namespace emu {

namespace {

void append(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) throw std::runtime_error("cannot write the paper tape " + path);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

void Tape::print(const std::vector<std::string>& lines) const {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  append(path_, text);
}

void Tape::cut() const { append(path_, std::string(48, '~') + "\r\n"); }

void Tape::clear() const {
  if (std::FILE* file = std::fopen(path_.c_str(), "wb")) std::fclose(file);
}

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
