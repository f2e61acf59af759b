#include "demo_environment.h"

#include <filesystem>

#include "platform/files.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace pdv_demo {

DemoEnvironment PrepareDemoEnvironment(const std::string& root, bool keep_printer) {
  DemoEnvironment env{root, root + "/windows/system32", root + "/printer", root + "/host", root + "/c"};
  if (!keep_printer) {
    fs::remove_all(env.printer_dir);
    fs::remove_all(env.host_dir);
  }
  for (const std::string& dir : {env.system_dir, env.printer_dir, env.host_dir, env.drive_c})
    platform::make_directories(dir);
  platform::write_file_atomic(env.system_dir + "/BemaFI32.ini",
                              "[Sistema]\r\nImpressora=1\r\nPath=" + env.printer_dir + "\r\n\r\n[Emulador]\r\n");
  platform::set_system_directory(env.system_dir);
  platform::set_executable_directory(env.host_dir);
  platform::set_drive_root('C', env.drive_c);
  return env;
}

}  // namespace pdv_demo
