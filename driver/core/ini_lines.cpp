#include "core/ini_lines.h"

#include "hostrt/text.h"

namespace kvr {

IniLines::IniLines(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    Line line;
    line.content = std::string(text.substr(0, end));
    if (end == std::string_view::npos) {
      text = {};
    } else {
      line.ending = "\n";
      text.remove_prefix(end + 1);
    }
    if (!line.content.empty() && line.content.back() == '\r') {
      line.content.pop_back();
      line.ending.insert(0, "\r");
    }
    lines_.push_back(std::move(line));
  }
}

const IniLines::Line* IniLines::Find(std::string_view name) const {
  const std::string wanted = hostrt::UpperCase(hostrt::Trim(name));
  for (const Line& line : lines_) {
    const std::size_t equals = line.content.find('=');
    if (equals == std::string::npos) continue;
    if (hostrt::UpperCase(hostrt::Trim(std::string_view(line.content).substr(0, equals))) == wanted) return &line;
  }
  return nullptr;
}

std::string IniLines::Value(std::string_view name) const {
  const Line* line = Find(name);
  return line ? hostrt::Trim(std::string_view(line->content).substr(line->content.find('=') + 1)) : std::string();
}

bool IniLines::SetValue(std::string_view name, std::string_view value) {
  Line* line = const_cast<Line*>(Find(name));
  if (!line) return false;
  line->content.resize(line->content.find('=') + 1);
  line->content += value;
  return true;
}

std::string IniLines::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.content + line.ending;
  return text;
}

}  // namespace kvr
