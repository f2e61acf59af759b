// Abertura_Mesa: what a table has consumed so far, printed in a receipt
// linked to a non-fiscal receipt of 0.01 registered for it.
#include <string>

#include "core/debug_log.h"
#include "core/paper_figures.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "datamodule/work_dataset.h"
#include "documents/document_builder.h"
#include "documents/document_texts.h"
#include "documents/unlinked_receipt.h"
#include "documents/open_document.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

struct TableCharges {
  double service, surcharge, discount, total;
};

// One of the totals lines, printed only for an amount above zero.
void AmountLine(DocumentBuilder& doc, const char* key, double amount, int width) {
  if (amount > 0) doc.Line(Msg(key) + ": " + FigureRight(FixedText(amount, 2), width));
}

// The receipt is registered with the host's totalizer, the amount and the
// report's name as payment, in the order the library takes them, under the
// caller's colour scheme. A receipt the printer did not take has nothing to
// link the document to: nothing more is sent. True when the document is whole
// on paper.
bool PrintTableOpening(OpenDocument& document, const std::string& stTotRelatorio, const std::string& stEsquemaCor,
                       const std::string& stMesa, const std::string& stEmissao, const hostrt::Variant& DADOS,
                       const TableCharges& charges) {
  hostrt::ClientDataSet& products = DataModule().cdsParcProdutos;
  const std::string amount = ReceiptCentsText(0.01);
  LoadWorkDataset(products, DADOS, {"CDARVPROD", "NMPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN"});

  const std::string payment = Msg("RelGerencial").substr(0, kReceiptPaymentNameWidth);
  if (!RegisterUnlinkedReceipt(stEsquemaCor, stTotRelatorio, 0.01, payment)) {
    Log("ERRO!!! Abertura_Mesa: " + platform::L1("o comprovante não fiscal não foi registrado; nada foi impresso"));
    return false;
  }
  if (!document.LinkedReceipt(payment, amount, Nr_Cupom("", stEsquemaCor))) return document.Close();
  const auto hand_over = [&](DocumentBuilder& text) { document.Print(text.TakeBlock()); };

  DocumentBuilder doc(stEsquemaCor);
  doc.Blank().Blank().Rule('-').Blank();
  doc.Line(std::string(15, ' ') + Msg("Aber_mesa")).Blank();
  doc.Line(Msg("Mesa") + ": " + stMesa).Line(Msg("Emissao") + ": " + stEmissao).Rule('-');
  hand_over(doc);

  ItemColumnHeader(doc);
  doc.Line("");
  hand_over(doc);

  for (products.First(); !products.Eof(); products.Next()) {
    const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
    const double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
    ItemLines(doc, products.FieldByName("CDARVPROD").AsString(), products.FieldByName("NMPRODUTO").AsString(),
              FixedText(quantity, 3), FixedText(price, 2),
              FigureRight(FixedText(hostrt::Trunc2(quantity * price), 2), 27));
    hand_over(doc);
  }

  doc.Blank();
  AmountLine(doc, "Tx_Serv", charges.service, 30);
  AmountLine(doc, "Acrescimo", charges.surcharge, 35);
  AmountLine(doc, "Desconto", charges.discount, 37);
  hand_over(doc);

  doc.Rule('-').Line(Msg("Total") + ": " + FigureRight(FixedText(hostrt::Trunc2(charges.total), 2), 35));
  doc.Blank().Line(kSoftwareFooter);
  hand_over(doc);
  return document.Close();
}

}  // namespace
}  // namespace kvr

extern "C" {

// True when the document is whole on paper; False when a fault stopped it or
// an exception did (logged, the linked receipt closed).
KVR_EXPORT bool Abertura_Mesa(const std::string& stTotRelatorio, const std::string& stEsquemaCor,
                              const std::string& /*stParam*/, const std::string& stMesa,
                              const std::string& /*stNmGarcom*/, const std::string& stEmissao,
                              const hostrt::Variant& DADOS, double doVrDesc, double /*doConsMin*/,
                              double /*doCouver*/, double doVrTxSer, double /*doQtPessoas*/, double doTotal,
                              double doAcresci) {
  return kvr::FalseOnFailure(stEsquemaCor, "Abertura_Mesa", [&](kvr::OpenDocument& document) {
    return kvr::PrintTableOpening(document, stTotRelatorio, stEsquemaCor, stMesa, stEmissao, DADOS,
                                  {doVrTxSer, doAcresci, doVrDesc, doTotal});
  });
}

}  // extern "C"
