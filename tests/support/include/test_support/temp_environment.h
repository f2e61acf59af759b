#pragma once
// A throw-away machine for one test: a temp root with the "Windows system
// directory" (holding BemaFI32.ini), the printer's own directory (the ini's
// Path), the host executable's directory and the folder that stands for C:\.
// The FISCAL_* environment variables point into it while it lives.
#include <map>
#include <string>

namespace test_support {

class TempEnvironment {
 public:
  // Creates the folders and a BemaFI32.ini with "Impressora=1", "Path=" the
  // printer directory and an empty [Emulador] section.
  TempEnvironment();
  ~TempEnvironment();  // removes the whole tree and restores the environment
  TempEnvironment(const TempEnvironment&) = delete;
  TempEnvironment& operator=(const TempEnvironment&) = delete;

  const std::string& root() const { return root_; }
  const std::string& system_dir() const { return system_dir_; }
  const std::string& printer_dir() const { return printer_dir_; }
  const std::string& exe_dir() const { return exe_dir_; }
  // A path under the host executable's directory as the driver names it in
  // messages: the directory in its short form, then the parts of `relative`
  // joined by the platform's separator.
  std::string exe_path_as_shown(const std::string& relative) const;
  const std::string& drive_c() const { return drive_c_; }
  std::string ini_path() const { return system_dir_ + "/BemaFI32.ini"; }

  // Rewrites BemaFI32.ini: the two main keys and the given [Emulador] keys.
  void write_ini(const std::map<std::string, std::string>& emulator_keys = {},
                 const std::string& impressora = "1");
  void write_ini_text(const std::string& text);  // any content, as is

 private:
  std::string root_, system_dir_, printer_dir_, exe_dir_, drive_c_;
  std::map<std::string, std::string> saved_env_;
};

// Whole file as bytes; empty when it does not exist.
std::string read_file_or_empty(const std::string& path);
void write_whole_file(const std::string& path, const std::string& contents);
bool path_exists(const std::string& path);

// The build's bin folder, where the shared libraries and programs land.
std::string bin_directory();

}  // namespace test_support
