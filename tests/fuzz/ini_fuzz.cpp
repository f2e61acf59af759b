// The readers of BemaFI32.ini: the driver's (plain name=value lines, the
// first "Path" wins, sections not looked at) and the emulated printer's. The
// input is the file's text. The driver's lines give the file back unchanged;
// a value set is read back, and no other line changes; where the file has no
// sections, both readers find the same "Path", so that the driver reads the
// return file where the printer writes it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ini_lines.h"
#include "fuzz_support.h"
#include "hostrt/text.h"
#include "ini_file.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool HasSections(const std::string& text) {
  for (const std::string& line : Lines(text)) {
    const std::string trimmed = hostrt::Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kvr::IniLines lines(text);
  fuzz::check(lines.Text() == text, "the driver's ini lines do not give the file back");
  const std::string path = lines.Value("Path");
  fuzz::check(path == hostrt::Trim(path), "a value is not trimmed");

  const emu::IniFile ini = emu::IniFile::parse(text);
  for (const char* section : {"Emulador", "Sistema"})
    for (const auto& [name, value] : ini.section(section)) (void)lines.Value(name);
  if (!HasSections(text))
    fuzz::check(ini.main_value("Path") == path,
                "the driver and the printer read another Path from one file: '" + path + "' and '" +
                    ini.main_value("Path") + "'");

  const std::string folder = "C:\\ECF\\Fuzz";
  const bool had_path = lines.SetValue("Path", folder);
  fuzz::check(had_path == (lines.Value("Path") == folder), "setting Path and reading it back disagree");
  if (had_path) {
    const kvr::IniLines again(lines.Text());
    fuzz::check(again.Value("Path") == folder, "a Path set does not read back from the text");
    const std::vector<std::string> was = Lines(text), now = Lines(lines.Text());
    fuzz::check(was.size() == now.size(), "setting Path changed the number of lines");
    int changed = 0;
    for (std::size_t i = 0; i < was.size(); ++i) changed += was[i] != now[i];
    fuzz::check(changed <= 1, "setting Path changed more than its own line");
  }
  return 0;
}
