// The demo point-of-sale host: loads the driver by name as a real host does,
// starts it on the emulated printer, reads the printer's identity and status,
// and shows the dialogs, the driver's debug log and the paper tape.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "day_end_steps.h"
#include "demo_environment.h"
#include "account_steps.h"
#include "document_steps.h"
#include "nonfiscal_steps.h"
#include "paf_steps.h"
#include "driver_operation.h"
#include "sale_steps.h"
#include "table_steps.h"
#include "hostrt/cipher.h"
#include "hostrt/clock.h"
#include "hostrt/dataset.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "bemafi32/emu_control.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/latin1.h"

namespace {

std::string Utf8(const std::string& latin1) { return platform::latin1_to_utf8(latin1); }

void Section(const std::string& title) { std::cout << "\n== " << title << " ==\n"; }

void PrintFile(const std::string& path) {
  if (!platform::file_exists(path)) {
    std::cout << "(no file " << path << ")\n";
    return;
  }
  std::cout << Utf8(platform::read_file(path));
}

std::string TapePath(const std::string& bin_dir) {
  void* printer = platform::load_library(bin_dir + "/BemaFI32.dll");
  if (!printer) return {};
  std::string path;
  if (auto tape_path = reinterpret_cast<vendor_api::pointer<int(char*, int)>>(platform::resolve_symbol(printer, "Emu_TapePath"))) {
    char buffer[4096] = {};
    if (tape_path(buffer, sizeof buffer) > 0) path = buffer;
  }
  platform::unload_library(printer);
  return path;
}

// A coupon with two items left open, as by a sale interrupted by a power cut,
// when the driver has the coupon operations.
bool SellAndLeaveOpen(void* driver) {
  if (!platform::resolve_symbol(driver, "AbreCupom") || !platform::resolve_symbol(driver, "VendaItem")) return false;
  Section("A sale interrupted");
  hostrt::Variant coupon = hostrt::MakeParams({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
  const bool opened = OPERATION(driver, AbreCupom)(coupon);
  std::cout << "AbreCupom: " << (opened ? "ok" : "failed") << "\n";
  if (!opened) return false;
  struct Item {
    const char* code;
    const char* name;
    double quantity, price;
  };
  for (const Item& item : {Item{"7891000100103", "CAFE EXPRESSO", 2, 4.5}, Item{"7891000200200", "PAO DE QUEIJO", 3, 3.25}}) {
    hostrt::Variant sale = hostrt::MakeParams({{"ESQUEMACOR", "001"},
                                               {"CDARVPROD", item.code},
                                               {"NMPROD", item.name},
                                               {"CDALIQ", "FF"},
                                               {"QTDE", item.quantity},
                                               {"VALOR", item.price},
                                               {"DESCONT", 0.0},
                                               {"UNIDADE", "UN"},
                                               {"IDUTILTEF", "N"},
                                               {"UTILTEF", false}});
    std::cout << "VendaItem " << item.name << ": " << (OPERATION(driver, VendaItem)(sale) ? "ok" : "failed") << "\n";
  }
  return true;
}

// ---- Printer tables, cash drawer and counters --------------------------------
// The till's receipt types as the host keeps them: code, description to
// program, receipt kind.
void DefineReceiptTypes(hostrt::ClientDataSet& types) {
  types.AddFieldDef("CDTIPORECE", hostrt::FieldType::String, 3);
  for (const char* flag : {"IDTIPORECE", "IDMOSTRARECE", "IDEMIVALE", "IDTPBUTTON"})
    types.AddFieldDef(flag, hostrt::FieldType::String, 1);
  types.AddFieldDef("NMTIPORECE", hostrt::FieldType::String, 40);
  types.AddFieldDef("DSIMPFISCAL", hostrt::FieldType::String, 50);
  types.AddFieldDef("CDFPIMPFIS", hostrt::FieldType::String, 10);
  types.CreateDataSet();
  struct Row {
    const char *code, *description, *kind;
  };
  for (const Row& row : {Row{"001", "Dinheiro", "1"}, Row{"002", "Cartao Credito", "2"},
                         Row{"003", "Vale Refeicao", "4"}}) {
    types.Append();
    types.FieldByName("CDTIPORECE").SetAsString(row.code);
    types.FieldByName("NMTIPORECE").SetAsString(row.description);
    types.FieldByName("DSIMPFISCAL").SetAsString(row.description);
    types.FieldByName("IDTIPORECE").SetAsString(row.kind);
    types.FieldByName("IDMOSTRARECE").SetAsString("S");
    types.FieldByName("IDTPBUTTON").SetAsString("5");
    types.Post();
  }
}

// Loads the tax rates, reconciles the payment forms, opens the drawer and
// reads the counters.
void RunPrinterTables(void* driver) {
  Section("Tax rates");
  hostrt::ClientDataSet rates{"cdsAliqImpFis"};
  OPERATION(driver, CarregaAliquota)("001", rates);
  for (rates.First(); !rates.Eof(); rates.Next())
    std::cout << "  " << rates.FieldByName("CDALIQIMPFIS").AsString() << "  "
              << hostrt::FormatFloat("0.00", rates.FieldByName("VRALIQIMPFIS").AsFloat()) << "  "
              << rates.FieldByName("IDALIQIMPFIS").AsString() << "\n";

  Section("Payment forms");
  hostrt::ClientDataSet types{"cdsTipoRece"};
  DefineReceiptTypes(types);
  OPERATION(driver, CarregaRecebimento)("", "001", 1, types);
  for (types.First(); !types.Eof(); types.Next())
    std::cout << "  " << types.FieldByName("CDTIPORECE").AsString() << "  printer name \""
              << Utf8(types.FieldByName("NMTIPORECE").AsString()) << "\"  in printer "
              << types.FieldByName("CDFPIMPFIS").AsString() << "  issues voucher "
              << types.FieldByName("IDEMIVALE").AsString() << "\n";

  Section("Cash drawer and counters");
  std::cout << "Abre_Gaveta_Imp: " << (OPERATION(driver, Abre_Gaveta_Imp)("001", false) ? "ok" : "failed") << "\n";
  std::cout << "Estado_Gaveta_Imp: " << OPERATION(driver, Estado_Gaveta_Imp)("001") << "\n";
  std::string value;
  if (OPERATION(driver, ContadorCupomFiscalMFD)("001", value)) std::cout << "  CCF = " << value << "\n";
  if (OPERATION(driver, NumeroOperacoesNaoFiscais)("001", value)) std::cout << "  GNF = " << value << "\n";
  if (OPERATION(driver, VendaBruta)("001", value)) std::cout << "  gross sales = " << value << "\n";
  if (OPERATION(driver, NumeroReducoes)("001", value)) std::cout << "  next reduction = " << value << "\n";
}
// ---- end of printer tables, cash drawer and counters ---------------------------

int Run(bool interactive, bool keep_printer) {
  const std::string bin_dir = platform::module_directory();
  const auto env = pdv_demo::PrepareDemoEnvironment(
      std::filesystem::path(bin_dir).parent_path().string() + "/demo", keep_printer);
  std::cout << "Demo machine: " << env.root << "\n";

  auto host = std::make_shared<hostrt::ConsoleHost>(
      interactive, hostrt::OpenSqliteRecordStore(env.host_dir + "/records.db"));
  hostrt::InstallHostServices(host);

  std::string error;
  void* driver = platform::load_library(bin_dir + "/Kvr00102.dll", &error);
  if (!driver) {
    std::cerr << "Cannot load the driver: " << error << "\n";
    return 1;
  }

  Section("Start");
  const std::string serial = "EMU0000000000000001";  // the emulated printer's own
  pdv_demo::WriteGrandTotalRecord(env, "001", "001", serial);
  const hostrt::Variant start = hostrt::MakeParams({{"CDFILIAL", "001"},
                                                    {"CDCAIXA", "001"},
                                                    {"NRSERIEIMP", serial},
                                                    {"NRSERIE", serial},
                                                    {"ESQUEMA", "001"},
                                                    {"ESQUEMACOR", "001"},
                                                    {"CDPORTAIMPFIS", "COM1"},
                                                    {"PORTAIMPFIS", "COM1"}});
  const bool started = OPERATION(driver, StartImpFiscal)(start);
  std::cout << "StartImpFiscal: " << (started ? "ok" : "failed") << "\n";

  if (started) {
    Section("Printer identity");
    hostrt::Variant identity = hostrt::MakeParams({{"ESQUEMA", "001"},
                                                   {"DATAATUIMP", ""},
                                                   {"ECFIMP", ""},
                                                   {"REDIMP", ""},
                                                   {"SERIEIMP", ""},
                                                   {"DATAIMP", ""}});
    const bool read = OPERATION(driver, Carrega_Dados_Impressora)(identity);
    std::cout << "Carrega_Dados_Impressora: " << (read ? "ok" : "failed") << "\n";
    for (const char* name : {"SERIEIMP", "ECFIMP", "DATAIMP", "DATAATUIMP"})
      std::cout << "  " << name << " = " << Utf8(hostrt::RecebeParams(identity, name).AsString()) << "\n";
    std::string total;
    if (OPERATION(driver, BuscaTotGer)("001", total)) std::cout << "  grand total = " << Utf8(total) << "\n";

    Section("Printer status");
    std::cout << "Estado_Imp: " << (OPERATION(driver, Estado_Imp)("001", true, false) ? "ok" : "not ready") << "\n";
    std::cout << "ImpressoraOK: " << (OPERATION(driver, ImpressoraOK)("001", true, false, false) ? "ok" : "not ready")
              << "\n";

    RunPrinterTables(driver);
    pdv_demo::RunSaleSteps(driver, serial);

    if (SellAndLeaveOpen(driver)) {
      // The host comes back: the start finds the coupon open and cancels it.
      Section("Start again");
      std::cout << "StartImpFiscal: " << (OPERATION(driver, StartImpFiscal)(start) ? "ok" : "failed") << "\n";
    }
    pdv_demo::RunDocumentSteps(driver, serial);
    pdv_demo::RunTableSteps(driver, serial);
    pdv_demo::RunAccountSteps(driver, serial);
    pdv_demo::RunNonFiscalSteps(driver);
    pdv_demo::RunPafSteps(driver, bin_dir);
    pdv_demo::RunDayEndSteps(driver, bin_dir, *host);
    OPERATION(driver, FechaPorta)();
  }
  OPERATION(driver, StopImpFiscal)();

  Section("Grand-total record");
  {
    hostrt::ClientDataSet record;
    record.LoadFromFile(env.host_dir + "/Paliron.cds");
    std::cout << "Paliron.cds: CAMPO01 = " << record.FieldByName("CAMPO01").AsString() << ", total = "
              << Utf8(hostrt::Uncripto(record.FieldByName("CAMPO02").AsString(), kvr::kCipherSelector)) << "\n";
  }

  Section("Debug log");
  PrintFile(env.host_dir + "/impdebug" + hostrt::FormatDateTime("mmyy", hostrt::Now()) + ".txt");
  Section("Paper tape");
  const std::string tape = TapePath(bin_dir);
  if (tape.empty())
    std::cout << "(the printer library reports no tape)\n";
  else
    PrintFile(tape);
  return started ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool interactive = false, keep_printer = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--interactive") == 0) {
      interactive = true;
    } else if (std::strcmp(argv[i], "--keep-printer") == 0) {
      keep_printer = true;
    } else {
      std::cout << "usage: pdv-demo [--interactive] [--keep-printer]\n"
                   "  --interactive   answer the driver's questions at the console\n"
                   "  --keep-printer  keep the emulated printer's memory from the last run\n";
      return std::strcmp(argv[i], "--help") == 0 ? 0 : 1;
    }
  }
  try {
    return Run(interactive, keep_printer);
  } catch (const std::exception& error) {
    std::cerr << "pdv-demo: " << error.what() << "\n";
    return 1;
  }
}
