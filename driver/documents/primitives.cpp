// The primitives of every non-fiscal document: open a management report,
// print into the open document, close it, open a linked receipt, register an
// unlinked receipt. Each wraps one printer call; any exception gives False,
// with no message and no log line.
#include <optional>
#include <string>

#include "core/effect_checks.h"
#include "core/printer_call.h"
#include "core/printer_figures.h"
#include "documents/document_builder.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

template <typename Body>
bool FalseOnException(Body&& body) {
  try {
    return body();
  } catch (...) {
    return false;
  }
}

}  // namespace

CallResult PrintIntoDocument(const std::string& stEsquemaCor, const std::string& text) {
  return CallPrinter(stEsquemaCor, kShowErrors, Bematech_FI_ImprimeComprobanteNoFiscalVinculado,
                     "Bematech_FI_ImprimeComprobanteNoFiscalVinculado: " + text, text.c_str());
}

CallResult RegisterReceipt(const std::string& stEsquemaCor, const std::string& stParam1, const std::string& stParam2,
                           const std::string& stParam3) {
  return CallPrinter(stEsquemaCor, kShowErrors, Bematech_FI_RecibimientoNoFiscal,
                     "Bematech_FI_RecibimientoNoFiscal : " + stParam1 + " - " + stParam2 + " - " + stParam3,
                     stParam1.c_str(), stParam2.c_str(), stParam3.c_str());
}

VerifiedResult OpenManagementReport(const std::string& stEsquemaCor, const std::string& stCdFilial,
                                    const std::string& stCdCaixa) {
  const VerifiedResult opened = VerifiedCall(NonFiscalDocumentIsOpen(), Bematech_FI_InformeGerencial, [&] {
    return CallPrinter(stEsquemaCor, kShowErrors, Bematech_FI_InformeGerencial, "Bematech_FI_InformeGerencial", " ");
  });
  if (opened.ok) hostrt::Host().GravaCER({stCdFilial, stCdCaixa, DataMoviFiscal(stEsquemaCor)});
  return opened;
}

VerifiedResult OpenLinkedReceipt(const std::string& stEsquemaCor, const std::string& payment,
                                 const std::string& amount, const std::string& coupon) {
  return VerifiedCall(NonFiscalDocumentIsOpen(), Bematech_FI_AbreComprobanteNoFiscalVinculado, [&] {
    return CallPrinter(stEsquemaCor, kShowErrors, Bematech_FI_AbreComprobanteNoFiscalVinculado,
                       "Bematech_FI_AbreComprobanteNoFiscalVinculado : " + payment + " - " + " - ", payment.c_str(),
                       amount.c_str(), coupon.c_str());
  });
}

bool CloseDocument(const std::string& stEsquemaCor, bool boMsg, bool boFechaCupom) {
  return VerifiedCall(DocumentClosed(), Bematech_FI_CierraInformeGerencial, [&] {
           return CallPrinter(stEsquemaCor, Analysis{boMsg, boFechaCupom, false}, Bematech_FI_CierraInformeGerencial,
                              "Bematech_FI_CierraInformeGerencial");
         })
      .ok;
}

}  // namespace kvr

extern "C" {

// Opens a management report (the library takes a single blank) and, once the
// printer accepted it, records it in the host with the movement date. The
// record's answer does not change the result; stTexto is not printed.
KVR_EXPORT bool Relatorio_Gerencial_Imp(const std::string& stEsquemaCor, const std::string& stCdFilial,
                                        const std::string& stCdCaixa, const std::string& /*stTexto*/) {
  return kvr::FalseOnException([&] { return kvr::OpenManagementReport(stEsquemaCor, stCdFilial, stCdCaixa).ok; });
}

// Closes the open management report or linked receipt. A close refused while
// the document stays open (or the printer does not answer) follows the rule
// of every document's close: with messages, the operator is asked and yes
// closes again; given up, one silent close. Nothing open gives False.
KVR_EXPORT bool FechRelatGerenc(const std::string& stEsquemaCor, bool boParam1, bool boParam2) {
  return kvr::FalseOnException([&] {
    if (kvr::CloseDocument(stEsquemaCor, boParam1, boParam2)) return true;
    const std::optional<bool> open = kvr::NonFiscalDocumentOpen();
    if (open && !*open) return false;
    kvr::DocumentProgress progress{.operation = "FechRelatGerenc", .ask = boParam1};
    return kvr::RecoverClose(stEsquemaCor, progress, boParam1, boParam2);
  });
}

// Prints text into the open non-fiscal document under the rule for a
// document's block: a text refused or not answered while the document is
// still open is asked about (yes sends it again; for a text that may have
// printed, no says it is on the paper). True when the text is on paper.
KVR_EXPORT bool Usa_CompNFis(const std::string& stEsquemaCor, const std::string& stParam1) {
  return kvr::FalseOnException([&] {
    kvr::DocumentProgress progress{.operation = "Usa_CompNFis"};
    return kvr::PrintBlock(stEsquemaCor, progress, stParam1);
  });
}

// Opens a receipt linked to a payment of a coupon: payment type name, amount
// (14 digits in cents), coupon number. Only the name is logged.
KVR_EXPORT bool Abre_Comp_NFiscalVinc(const std::string& stEsquemaCor, const std::string& stParam1,
                                      const std::string& stParam2, const std::string& stParam3) {
  return kvr::FalseOnException(
      [&] { return kvr::OpenLinkedReceipt(stEsquemaCor, stParam1, stParam2, stParam3).ok; });
}

// Registers an unlinked non-fiscal receipt; the texts go on in the order received.
KVR_EXPORT bool Cupom_NFiscNVinc(const std::string& stEsquemaCor, const std::string& stParam1,
                                 const std::string& stParam2, const std::string& stParam3) {
  return kvr::FalseOnException([&] {
    return kvr::VerifiedCall(kvr::DocumentIssued(), Bematech_FI_RecibimientoNoFiscal, [&] {
             return kvr::RegisterReceipt(stEsquemaCor, stParam1, stParam2, stParam3);
           })
        .ok;
  });
}

// Host-facing operations that touch no printer.
KVR_EXPORT bool Guilhotina(const std::string& /*stParam*/, int /*inPicote*/) { return false; }

KVR_EXPORT bool CodigoBarra(const std::string& /*stParam1*/, const std::string& /*stParam2*/,
                            const std::string& /*stParam3*/, int /*idTipoImpFis*/, const std::string& /*stValor*/,
                            const std::string& /*stCodigo*/) {
  return true;
}

}  // extern "C"
