// Abertura_Mesa: what a table has consumed so far, printed in a receipt
// linked to a non-fiscal receipt of 0.01 registered for it.
#include <string>

#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_builder.h"
#include "documents/document_texts.h"
#include "documents/open_document.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// Money right-aligned in `width` columns; a longer amount is never cut.
std::string Money(double amount, int width) { return hostrt::PadL(FixedText(amount, 2), width); }

// One of the totals lines, printed only for an amount above zero.
void AmountLine(DocumentBuilder& doc, const char* key, double amount, int width) {
  if (amount > 0) doc.Line(Msg(key) + ": " + Money(amount, width));
}

}  // namespace
}  // namespace kvr

extern "C" {

// The receipt is registered with the host's totalizer, the amount and the
// report's name as payment, in the order the library takes them, and the
// caller's colour scheme goes to the return analysis. The results of the
// printer calls are reported by the primitives and not looked at here; any
// exception gives False, logged, with the linked receipt closed.
KVR_EXPORT bool Abertura_Mesa(const std::string& stTotRelatorio, const std::string& stEsquemaCor,
                              const std::string& /*stParam*/, const std::string& stMesa,
                              const std::string& /*stNmGarcom*/, const std::string& stEmissao,
                              const hostrt::Variant& DADOS, double doVrDesc, double /*doConsMin*/,
                              double /*doCouver*/, double doVrTxSer, double /*doQtPessoas*/, double doTotal,
                              double doAcresci) {
  kvr::OpenDocument document(stEsquemaCor);
  try {
    hostrt::ClientDataSet& products = kvr::DataModule().cdsParcProdutos;
    const std::string amount = kvr::ReceiptCentsText(0.01);
    kvr::LoadWorkDataset(products, DADOS, {"CDARVPROD", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});

    const std::string payment = kvr::Msg("RelGerencial").substr(0, 16);
    Cupom_NFiscNVinc(stEsquemaCor, stTotRelatorio, amount, payment);
    document.LinkedReceipt(payment, amount, Nr_Cupom("", stEsquemaCor));

    kvr::DocumentBuilder doc(stEsquemaCor);
    doc.Blank().Blank().Rule('-').Blank();
    doc.Line(std::string(15, ' ') + kvr::Msg("Aber_mesa")).Blank();
    doc.Line(kvr::Msg("Mesa") + ": " + stMesa).Line(kvr::Msg("Emissao") + ": " + stEmissao).Rule('-');
    doc.HandOver();

    kvr::ItemColumnHeader(doc);
    doc.Line("");
    doc.HandOver();

    for (products.First(); !products.Eof(); products.Next()) {
      const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
      const double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
      kvr::ItemLines(doc, products.FieldByName("CDARVPROD").AsString(), products.FieldByName("NMPRODUTO").AsString(),
                     kvr::FixedText(quantity, 3), kvr::FixedText(price, 2),
                     kvr::Money(hostrt::Trunc2(quantity * price), 27));
      doc.HandOver();
    }

    doc.Blank();
    kvr::AmountLine(doc, "Tx_Serv", doVrTxSer, 30);
    kvr::AmountLine(doc, "Acrescimo", doAcresci, 35);
    kvr::AmountLine(doc, "Desconto", doVrDesc, 37);
    doc.HandOver();

    doc.Rule('-').Line(kvr::Msg("Total") + ": " + kvr::Money(hostrt::Trunc2(doTotal), 35));
    doc.Blank().Line(kvr::kSoftwareFooter);
    doc.HandOver();
    document.Close();
    return true;
  } catch (...) {
    document.EndAfterFailure("Abertura_Mesa");
    return false;
  }
}

}  // extern "C"
