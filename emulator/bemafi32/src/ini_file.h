#pragma once
// BemaFI32.ini: "name=value" lines in [sections]; names without regard to case.
#include <string>
#include <utility>
#include <vector>

namespace emu {

class IniFile {
 public:
  // Looks for BemaFI32.ini in the folder, whatever the case of its name.
  static IniFile find(const std::string& folder);
  static IniFile parse(const std::string& text);

  bool found() const { return found_; }
  const std::string& path() const { return path_; }
  // The first value of the name outside the [Emulador] section ("" when absent).
  std::string main_value(const std::string& name) const;
  std::vector<std::pair<std::string, std::string>> section(const std::string& name) const;

 private:
  struct Line {
    std::string section, name, value;
  };
  std::vector<Line> lines_;
  bool found_ = false;
  std::string path_;
};

}  // namespace emu
