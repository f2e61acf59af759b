#include "paf_steps.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "demo_datasets.h"
#include "driver_operation.h"
#include "hostrt/cipher.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace pdv_demo {
namespace {

const std::string kColour = "001";

// The newest file of the fiscal menu folder whose name starts with prefix.
std::string Newest(const std::string& folder, const std::string& prefix) {
  std::string found;
  std::filesystem::file_time_type when{};
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    if (found.empty() || entry.last_write_time() >= when) found = entry.path().string(), when = entry.last_write_time();
  }
  return found;
}

void Verify(const std::string& bin_dir, const std::string& what, const std::string& file) {
  if (file.empty()) {
    std::cout << what << ": no file\n";
    return;
  }
  std::cout << what << ": " << file << "\n  ";
  std::cout.flush();
#ifdef _WIN32
  // cmd.exe drops the outer pair of quotes of a command that starts with one.
  const std::string command = "\"\"" + bin_dir + "\\ecf-tool.exe\" verify \"" + file + "\"\"";
#else
  const std::string command = "\"" + bin_dir + "/ecf-tool\" verify \"" + file + "\"";
#endif
  if (std::system(command.c_str()) != 0) std::cout << "  (the check failed)\n";
}

hostrt::Variant PafValues() {
  hostrt::ClientDataSet values{"cdsDadosPaf"};
  const std::vector<std::pair<const char*, const char*>> fields{
      {"NRLAUDO", "DEMO-0001"},          {"NRCNPJLOVRANE", "00.000.000/0001-91"},
      {"DSRAZAOSOCILOV", "DEMO SOFTWARE LTDA"}, {"DSENDELOVRANE", "RUA DO DEMO 1"},
      {"DSTELEFONELOV", "(00) 0000-0000"}, {"NMRESPONSIST", "RESPONSAVEL DEMO"},
      {"DSNOMECOMERCIAL", "PDV DEMO"},   {"DSVERSAOPALIRON", "1.0"},
      {"NMEXEPALIRON", "pdv-demo"},      {"DSCODPALIRON", "00000000000000000000000000000000"}};
  std::vector<std::pair<const char*, hostrt::FieldType>> defs;
  std::vector<hostrt::Variant> row;
  for (const auto& [name, value] : fields) {
    defs.push_back({name, hostrt::FieldType::String});
    row.push_back(hostrt::Cripto(value, KVR_PAF_CIPHER_SELECTOR));
  }
  Fill(values, defs, {row});
  return values.Data();
}

hostrt::Variant Printers(const std::string& serial) {
  hostrt::ClientDataSet printers{"cdsBuscaNrSerieEcf"};
  Fill(printers, {{"NRSERIEIMPRPERS", hostrt::FieldType::String}}, {{serial}});
  return printers.Data();
}

}  // namespace

void RunPafSteps(void* driver, const std::string& bin_dir) {
  std::cout << "\n== Regulatory files ==\n";
  const std::string menu = platform::native_path("C:\\MenuFiscal");
  platform::make_directories(menu);  // the host's installation makes it; the driver never does
  const std::string today = hostrt::FormatDateTime("dd/mm/yyyy", hostrt::Now());
  hostrt::Variant unused;

  std::vector<hostrt::Variant> reading{kColour, today, today, "C", "DATA"};
  OPERATION(driver, EmiteLeituraMemoriaFiscalSerial)(reading.data(), 4, unused);
  Verify(bin_dir, "Fiscal memory reading", Newest(menu, "LMFC_"));

  std::vector<hostrt::Variant> mirror{kColour, "", "", "", "", "", today, today, "1"};
  OPERATION(driver, geraEspelhoMfd)(mirror.data(), 8, unused);
  Verify(bin_dir, "MFD mirror", Newest(menu, "Espelho_MFD_"));

  const std::string type_e = OPERATION(driver, geraRegistroTipoE)(today, today, "2", "DEMO RESTAURANTE LTDA", "RUA DO DEMO 1");
  if (type_e.rfind("ERRO_", 0) == 0) {
    std::cout << "Type E file: " << type_e << "\n";
  } else {
    OPERATION(driver, geraEad)(type_e);
    Verify(bin_dir, "Type E file", platform::native_path(type_e));
  }

  std::vector<hostrt::Variant> paf{"001", "001", kColour, PafValues(), Printers("EMU0000000000000001")};
  OPERATION(driver, ImprimeDadosPaf)(paf.data(), 4, unused);
  std::cout << "ImprimeDadosPaf: printed (see the paper tape)\n";
}

}  // namespace pdv_demo
