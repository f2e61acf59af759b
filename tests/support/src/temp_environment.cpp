#include "test_support/temp_environment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace test_support {
namespace {

const char* const kVariables[] = {"FISCAL_SYSTEM_DIR", "FISCAL_EXE_DIR", "FISCAL_DRIVE_C"};

std::string make_root() {
  std::string pattern = (fs::temp_directory_path() / "fiscal-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temp directory");
  return pattern;
}

}  // namespace

TempEnvironment::TempEnvironment() : root_(make_root()) {
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
  for (const auto& [name, saved] : saved_env_) {
    if (saved.empty())
      unsetenv(name.c_str());
    else
      setenv(name.c_str(), saved.c_str() + 1, 1);
  }
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

std::string bin_directory() { return TEST_SUPPORT_BIN_DIR; }

}  // namespace test_support
