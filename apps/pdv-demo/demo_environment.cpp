#include "demo_environment.h"

#include <filesystem>

#include "hostrt/cipher.h"
#include "hostrt/dataset.h"
#include "kvr00102/kvr00102.h"
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

void WriteGrandTotalRecord(const DemoEnvironment& env, const std::string& branch, const std::string& till,
                           const std::string& serial) {
  const std::string path = env.host_dir + "/Paliron.cds";
  if (platform::file_exists(path)) return;
  hostrt::ClientDataSet cds;
  for (const char* name : {"CDFILIAL", "CDCAIXA", "NRSERIEECF", "CAMPO01", "CAMPO02"})
    cds.AddFieldDef(name, hostrt::FieldType::String, 40);
  cds.CreateDataSet();
  cds.Append();
  cds.FieldByName("CDFILIAL").SetAsString(branch);
  cds.FieldByName("CDCAIXA").SetAsString(till);
  cds.FieldByName("NRSERIEECF").SetAsString(serial);
  cds.FieldByName("CAMPO01").SetAsString("S");
  cds.FieldByName("CAMPO02").SetAsString(hostrt::Cripto("10,10", kvr::kCipherSelector));
  cds.Post();
  cds.SaveToFile(path);
}

}  // namespace pdv_demo
