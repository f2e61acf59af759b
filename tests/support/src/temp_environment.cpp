#include "test_support/temp_environment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/paths.h"
#include "test_support/unique_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace test_support {
namespace {

const char* const kVariables[] = {"FISCAL_SYSTEM_DIR", "FISCAL_EXE_DIR", "FISCAL_DRIVE_C"};

void restore_variable(const std::string& name, const std::string& saved) {
  if (saved.empty())
    unset_variable(name);
  else
    set_variable(name, saved.substr(1));
}

}  // namespace

TempEnvironment::TempEnvironment() : root_(make_unique_folder("fiscal-test")) {
  system_dir_ = root_ + "/windows/system32";
  printer_dir_ = root_ + "/printer";
  exe_dir_ = root_ + "/host";
  drive_c_ = root_ + "/c";
  for (const auto& dir : {system_dir_, printer_dir_, exe_dir_, drive_c_}) fs::create_directories(dir);
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    saved_env_[name] = value ? std::string("=") + value : std::string();
  }
  platform::set_system_directory(system_dir_);
  platform::set_executable_directory(exe_dir_);
  platform::set_drive_root('C', drive_c_);
  write_ini();
}

TempEnvironment::~TempEnvironment() {
  for (const auto& [name, saved] : saved_env_) restore_variable(name, saved);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void TempEnvironment::write_ini(const std::map<std::string, std::string>& emulator_keys,
                                const std::string& impressora) {
  std::ostringstream text;
  text << "[Sistema]\r\nImpressora=" << impressora << "\r\nPath=" << printer_dir_ << "\r\n\r\n[Emulador]\r\n";
  for (const auto& [key, value] : emulator_keys) text << key << '=' << value << "\r\n";
  write_ini_text(text.str());
}

std::string TempEnvironment::exe_path_as_shown(const std::string& relative) const {
#ifdef _WIN32
  std::string path = platform::short_path(exe_dir_) + "\\" + relative;
  for (std::size_t i = path.size() - relative.size(); i < path.size(); ++i)
    if (path[i] == '/') path[i] = '\\';
  return path;
#else
  return exe_dir_ + "/" + relative;
#endif
}

void TempEnvironment::write_ini_text(const std::string& text) { write_whole_file(ini_path(), text); }

std::string read_file_or_empty(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void write_whole_file(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool path_exists(const std::string& path) { return fs::exists(path); }

#ifdef _WIN32
// The test programs run from the folder that holds the modules.
std::string bin_directory() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(std::string(path, n)).parent_path().generic_string();
}
#else
std::string bin_directory() { return TEST_SUPPORT_BIN_DIR; }
#endif

}  // namespace test_support
