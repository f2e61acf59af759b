#include "ini_file.h"

#include <filesystem>

#include "amounts.h"
#include "platform/files.h"

namespace emu {

IniFile IniFile::parse(const std::string& text) {
  IniFile ini;
  std::string section;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = trim(line.substr(1, line.size() - 2));
      continue;
    }
    auto equal = line.find('=');
    if (equal == std::string::npos) continue;
    ini.lines_.push_back({section, trim(line.substr(0, equal)), trim(line.substr(equal + 1))});
  }
  return ini;
}

IniFile IniFile::find(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!same_text(entry.path().filename().string(), "bemafi32.ini")) continue;
    IniFile ini;
    try {
      ini = parse(platform::read_file(entry.path().string()));
    } catch (const std::exception&) {
      continue;
    }
    ini.found_ = true;
    ini.path_ = entry.path().string();
    return ini;
  }
  return IniFile{};
}

std::string IniFile::main_value(const std::string& name) const {
  for (const auto& line : lines_)
    if (!same_text(line.section, "Emulador") && same_text(line.name, name)) return line.value;
  return {};
}

std::vector<std::pair<std::string, std::string>> IniFile::section(const std::string& name) const {
  std::vector<std::pair<std::string, std::string>> values;
  for (const auto& line : lines_)
    if (same_text(line.section, name)) values.emplace_back(line.name, line.value);
  return values;
}

}  // namespace emu
