// Parcial_BematechNFiscal: a table's partial bill on the non-fiscal printer,
// one library call a line. The data module is destroyed at its end, in every
// case; the next operation that needs it creates it again.
#include <exception>
#include <string>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/nonfiscal_printer/receipt_printer.h"
#include "documents/open_document.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

constexpr const char* kOperation = "Parcial_BematechNFiscal";
constexpr TextAttributes kNormal{2, 0, 0, 0, 0};
constexpr TextAttributes kExpanded{2, 0, 0, 1, 0};

struct BillCharges {
  double discount, minimum, cover, service, people, total;
};

std::string Amount(const char* pattern, double value, int width) {
  return FigureRight(hostrt::FormatFloat(pattern, value), width);
}

class BillPrinter {
 public:
  explicit BillPrinter(ReceiptPrinterPort& port) : port_(port) {}
  void Line(const std::string& text, const TextAttributes& attributes = kNormal) {
    port_.Print(text + "\r\n", attributes);
  }

 private:
  ReceiptPrinterPort& port_;
};

void PrintBill(BillPrinter& bill, const std::string& stNrComanda, const std::string& stMesa,
               const std::string& stNmGarcom, const BillCharges& c) {
  hostrt::ClientDataSet& items = DataModule().cdsTeste;
  bill.Line(Msg("CONF_MES"), kExpanded);
  bill.Line("", kExpanded);
  bill.Line(Msg("COMANDA") + stNrComanda);
  bill.Line(Msg("Mesa") + ": " + stMesa);
  bill.Line(Msg("Garcom") + ":   " + stNmGarcom);
  bill.Line(Msg("Emissao") + ": " + hostrt::FormatDateTime("dd/mm/yyyy hh:nn:ss", hostrt::Now()));
  bill.Line(std::string(48, '-'));
  bill.Line(std::string(48, '-'));
  for (items.First(); !items.Eof(); items.Next()) {
    const double quantity = items.FieldByName("QTPRODCOMVEN").AsFloat();
    const double price = items.FieldByName("VRPRECCOMVEN").AsFloat();
    bill.Line(items.FieldByName("CDARVPROD").AsString() + "  " + items.FieldByName("NMPRODUTO").AsString());
    bill.Line(Amount("0.000", quantity, 10) + "   X " + Amount("0.00", price, 6) + "     " +
              Amount("0.00", price * quantity, 22));
  }
  if (c.discount > 0) bill.Line(Msg("Desconto") + std::string(17, ' ') + "-" + Amount("0.00", c.discount, 22));
  if (c.minimum > 0) bill.Line(Msg("Consuma_Min") + std::string(8, ' ') + Amount("0.00", c.minimum, 22));
  if (c.service > 0) bill.Line(Msg("Tx_Serv") + std::string(10, ' ') + Amount("0.00", c.service, 22));
  const std::string people = hostrt::FloatToStr(c.people) + " " + Msg("pessoas");
  if (c.cover > 0)
    bill.Line(Msg("Couvert") + "  X  " + people + std::string(4, ' ') + Amount("0.00", c.people * c.cover, 22));
  if (c.people > 1)
    bill.Line(Msg("APROX") + " " + Amount("###0.00", c.total / c.people, 5) + " " + Msg("POR_PESS") + " (" +
              people + ")");
  bill.Line(Msg("TOTAL_CUP") + std::string(9, ' ') + Amount("#########0.00", c.total, 9), kExpanded);
  bill.Line(std::string(48, '-'));
  bill.Line(Msg("DOC_SEM_VAL_FIS"));
  std::string feed;
  for (int i = 0; i < 10; ++i) feed += "\r\n";
  bill.Line(feed.substr(2));
}

}  // namespace
}  // namespace kvr

extern "C" {

// True once printed. A port that cannot be opened (or a missing library)
// shows "ERRO_IMP" and gives False. An exception reaches the host after the
// port has been closed and the data module released.
KVR_EXPORT bool Parcial_BematechNFiscal(const std::string& stPorta, const std::string& stNrComanda,
                                        const std::string& stMesa, const std::string& stNmGarcom,
                                        const std::string& /*stEmissao*/, const hostrt::Variant& DADOS,
                                        double doVrDesc, double doConsMin, double doCouver, double doVrTxSer,
                                        double doQtPessoas, double doTotal) {
  try {
    kvr::ReceiptPrinterPort port(kvr::kOperation);
    if (!port.Open(stPorta)) {
      kvr::Notice(kvr::Msg("ERRO_IMP"), hostrt::kErrorOrRetry, "001");
      port.Close();
      kvr::DestroyDataModule();
      return false;
    }
    kvr::LoadWorkDataset(kvr::DataModule().cdsTeste, DADOS, {"CDARVPROD", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});
    kvr::BillPrinter bill(port);
    kvr::PrintBill(bill, stNrComanda, stMesa, stNmGarcom, {doVrDesc, doConsMin, doCouver, doVrTxSer, doQtPessoas, doTotal});
    port.Close();
  } catch (...) {
    kvr::Log(std::string("ERRO!!! ") + kvr::kOperation + ": " + kvr::CurrentExceptionText());
    kvr::DestroyDataModule();
    throw;
  }
  kvr::DestroyDataModule();
  return true;
}

}  // extern "C"
