// A started driver on the emulated printer, with the host's datasets of the
// Z export and helpers to run a day on the printer or hand it a return file.
#pragma once
#include <string>
#include <vector>

#include "driver_fixture.h"
#include "hostrt/dataset.h"

namespace dayend_test {

using driver_test::DriverTest;
using platform::L1;

class DayEndTest : public DriverTest {
 protected:
  void SetUp() override;

  // Calls a printer entry point with the signature its arguments spell.
  template <class... Args>
  int Call(const char* name, Args... args) {
    return printer.entry<int(Args...)>(name)(args...);
  }

  // The host's payment types: 001 Dinheiro, 002 Cartao Debito, 003 Cartao Credito.
  void SetPaymentTypes(const std::vector<std::pair<std::string, std::string>>& types);

  // Runs the export into the four result datasets.
  bool Export(const std::string& ecf = "0001");

  // The printer answers the next X readings to serial without writing the
  // return file, which then holds the given lines (CR LF after each).
  void HandReturnFile(const std::vector<std::string>& lines, const std::string& ending = "\r\n");
  void HandReturnText(const std::string& text);
  std::string ReturnFilePath() const { return env.printer_dir() + "/Retorno.txt"; }
  // The day copy of a movement date "ddmmyyyy", on the platform's file system.
  std::string DayCopyPath(const std::string& ddmmyyyy) const;

  // A Latin-1 file name as this platform's file system spells it: UTF-8 on
  // POSIX, the Latin-1 code page itself on Windows.
  static std::string Utf8(const std::string& latin1);

  hostrt::ClientDataSet types{"cdsTipoReceAux"};
  hostrt::ClientDataSet reduction{"cdsReducaoZAux"};
  hostrt::ClientDataSet forms{"cdsFormPgtoZAux"};
  hostrt::ClientDataSet taxes{"cdsImpostoRedzAux"};
  hostrt::ClientDataSet totalizers{"cdsTotNFiscRedZAux"};
};

// A figure line as the printer lays it out: label in 28 columns, the amount
// right-aligned in columns 29-48.
std::string Figure(const std::string& label, const std::string& amount);

}  // namespace dayend_test
