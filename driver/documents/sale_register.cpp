// RegistroVenda: what a table or order pad has ordered before any fiscal
// coupon exists, printed as a management report.
#include <string>

#include "core/paper_figures.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_builder.h"
#include "documents/document_texts.h"
#include "documents/open_document.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

// A table number has exactly four characters; anything else is an order pad.
std::string Heading(const std::string& stAuxMesa) {
  return stAuxMesa.size() == 4 ? platform::L1("       Relatório de abertura da mesa ") + stAuxMesa
                               : platform::L1("   Relatório de abertura da comanda ") + stAuxMesa;
}

bool PrintSaleRegister(OpenDocument& document, const std::string& stCdFilial, const std::string& stCdCaixa,
                       const std::string& stEsquemaCor, const hostrt::ClientDataSet& cdsItems,
                       const std::string& stAuxMesa) {
  hostrt::ClientDataSet& items = DataModule().cdsItemsReg;
  CopyWorkDataset(items, cdsItems, {"CDPROD", "NMPROD", "STQTDE", "STVALOR"});
  Nr_Cupom("", stEsquemaCor);

  DocumentBuilder doc(stEsquemaCor);
  doc.Blank().Line(Heading(stAuxMesa)).Blank().Rule('-');
  doc.Line(std::string(15, ' ') + Msg("RegVen")).Rule('-').Line("");
  ItemColumnHeader(doc);
  doc.Line("");
  document.Report(stCdFilial, stCdCaixa);
  const auto hand_over = [&] { document.Print(doc.TakeBlock()); };
  hand_over();

  for (items.First(); !items.Eof(); items.Next()) {
    const double quantity = items.FieldByName("STQTDE").AsFloat();
    const double value = items.FieldByName("STVALOR").AsFloat();
    ItemLines(doc, items.FieldByName("CDPROD").AsString(), items.FieldByName("NMPROD").AsString(),
              FixedText(quantity, 2), FixedText(value, 2), FigureRight(FixedText(quantity * value, 2), 29));
    hand_over();
  }

  doc.Blank().Rule('-').Line(kSoftwareFooter);
  hand_over();
  return document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// True when the register is whole on paper; a fault that stopped it gives
// False (the operator was asked). An exception (items without a field this report reads, a
// quantity or value that is not a number) gives False, logged, with the
// report closed.
KVR_EXPORT bool RegistroVenda(const std::string& stCdFilial, const std::string& stCdCaixa,
                              const std::string& stEsquemaCor, const hostrt::ClientDataSet& cdsItems,
                              const std::string& stAuxMesa) {
  return kvr::FalseOnFailure(stEsquemaCor, "RegistroVenda", [&](kvr::OpenDocument& document) {
    return kvr::PrintSaleRegister(document, stCdFilial, stCdCaixa, stEsquemaCor, cdsItems, stAuxMesa);
  });
}

}  // extern "C"
