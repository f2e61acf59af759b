// Compr_Cred_Bematech_NFISC and Compr_Cred_Bematech_MP100: the slip of a
// purchase of account credit on the non-fiscal printer, through its library
// or, for model "7", straight to the serial port. Nothing reaches the fiscal
// printer and nothing is registered.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "core/debug_log.h"
#include "core/maker_line.h"
#include "datamodule/data_module.h"
#include "documents/document_texts.h"
#include "documents/nonfiscal_printer/receipt_printer.h"
#include "documents/nonfiscal_printer/slip_text.h"
#include "documents/open_document.h"
#include "hostrt/clock.h"
#include "hostrt/format.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

constexpr TextAttributes kSlipAttributes{3, 0, 0, 0, 1};

struct CreditPurchase {
  std::string deposit, consumer, family;
  double paid = 0, final_balance = 0;
};

CreditPurchase Purchase(hostrt::ClientDataSet& payments, double doSald, const std::string& consumer,
                        const std::string& deposit, const std::string& family) {
  double paid = 0;
  for (payments.First(); !payments.Eof(); payments.Next()) paid += payments.FieldByName("VRMOVIVEND").AsFloat();
  return {deposit, consumer, family, paid, paid + doSald};
}

std::string DateAndTime() {
  const hostrt::DateTime now = hostrt::Now();
  return hostrt::DateToStr(now) + " " + hostrt::TimeToStr(now);
}

// "COMPRA DE CREDITO" under an empty line, and the figures of the purchase;
// `blank_after_title` adds the empty line that the 48-column slip has.
void PurchaseLines(SlipText& slip, const CreditPurchase& p, bool blank_after_title) {
  slip.Line("").Centred(Msg("ComprCredito")).Rule('-');
  if (blank_after_title) slip.Line("");
  slip.Copy(Msg("Nr_Deposito") + p.deposit).Rule(' ').Copy(Msg("NmCons") + p.consumer);
  slip.Copy(Msg("NmFami") + p.family).Copy(Msg("VrCupom") + CurrencyText(p.paid));
  slip.Copy(Msg("VrSaldo") + CurrencyText(p.final_balance));
}

struct Branch {
  std::string sale, company, till, address, city, registration, printer_serial, remark;
};

std::string Labelled(const std::string& label, const std::string& value) {
  return hostrt::PadR(label, 12) + " " + value;
}

void BranchSlip(SlipText& slip, const CreditPurchase& p, const Branch& b) {
  slip.Centred(b.company).Centred(b.till).Centred(b.address).Centred(b.city);
  slip.Centred(Msg2("INSCMUNICIPAL") + " " + b.registration).Rule('-');
  slip.Copy(Labelled(Msg2("NRSERIE"), b.printer_serial)).Copy(Labelled(Msg2("DATA"), DateAndTime()));
  slip.Copy(Labelled(Msg2("NRCUPOM"), b.sale)).Copy(Labelled(Msg2("NRDEPOSITO"), p.deposit)).Rule('-');
  slip.Copy("Recarga " + p.family).Copy("Consumidor..: " + p.consumer);
  slip.Copy("Valor ......: " + CurrencyText(p.paid)).Copy("Saldo Final : " + CurrencyText(p.final_balance));
  slip.Rule('-');
  if (!hostrt::EmptyString(b.remark)) slip.Centred(b.remark);
}

// The point of sale's layout in Spanish. Its till field is the fixed text the
// layout has always printed there; hosts that read these slips expect it.
void SpanishSlip(SlipText& slip, const CreditPurchase& p, const Branch& b) {
  const hostrt::DateTime now = hostrt::Now();
  slip.Centred(b.company).Centred("RUC: " + b.registration).Centred(b.address);
  slip.Centred("PUNTO DE VENTA: " + b.company).Rule('-');
  slip.Line("NR.SERIE...: " + b.printer_serial + " CAJA: " + "COLOCAR NR.CAIXA");
  slip.Copy("NR.TICKET..: " + b.sale);
  slip.Copy("FECHA......: " + hostrt::DateToStr(now) + " " + "HORA: " + hostrt::TimeToStr(now));
  slip.Copy("NR.DEPOSITO: " + p.deposit).Rule('-');
  slip.Copy("RECARGA " + p.family).Copy("CONSUMIDOR..: " + p.consumer);
  slip.Copy("VALOR ......: " + CurrencyText(p.paid)).Copy("SALDO FINAL.: " + CurrencyText(p.final_balance));
  slip.Rule('-');
  if (!hostrt::EmptyString(b.remark)) slip.Line(b.remark);
}

void PlainSlip(SlipText& slip, const CreditPurchase& p) {
  PurchaseLines(slip, p, false);
  slip.Rule('-').Centred((Msg2("Data") + " " + DateAndTime()).substr(0, 48));
}

// The maker's line, in its short form where the paper is too narrow for the
// whole line, so that the web address is never cut.
std::string_view MakerFooter(std::size_t width) {
  const std::string_view line = kSoftwareFooter;
  return line.size() <= width ? line : kShortMakerLine;
}

bool CopyCount(std::string_view operation, const std::string& text, int& copies) {
  std::int64_t count = 0;
  if (hostrt::TryStrToInt(text, count) && count >= 0 && count <= 99) {
    copies = static_cast<int>(count);
    return true;
  }
  Log("ERRO!!! " + std::string(operation) + platform::L1(": número de cópias inválido: \"") + text + "\"");
  return false;
}

// The port that the library prints on must exist before it is opened.
bool PortFound(std::string_view operation, const std::string& port) {
  if (ProbePort(port)) return true;
  Log("ERRO!!! " + std::string(operation) + ": porta " + port + platform::L1(" não encontrada; nada foi impresso"));
  return false;
}

// Runs the body; an exception is logged and gives False (the body's port
// objects close their ports on the way out).
template <typename Body>
bool LoggedFalseOnException(std::string_view operation, Body&& body) {
  try {
    return body();
  } catch (...) {
    Log("ERRO!!! " + std::string(operation) + ": " + CurrentExceptionText());
    return false;
  }
}

}  // namespace
}  // namespace kvr

extern "C" {

// Model "7" gets one copy and the paper cut straight through the serial
// port; other models get the copies through the library, each copy with six
// more line ends than the one before, then the paper cut. False when the
// port is not found, cannot be opened or written, or the copy count is not
// a number from 0 to 99.
KVR_EXPORT bool Compr_Cred_Bematech_NFISC(std::string& /*stCupomDia*/, hostrt::ClientDataSet& cdsMovCaixaCred,
                                          double doSald, const std::string& stNmConsCred,
                                          const std::string& stNrDeposi, const std::string& stNmFamilia,
                                          const std::string& stImpComCredPe, const std::string& stPaisIntegra,
                                          const std::string& stIdTipoImpNF1, const std::string& stCdPortImpNF1,
                                          const std::string& stNrVendaNFisc, const std::string& stNmRazSocFili,
                                          const std::string& stNmCaixa, const std::string& stDsEndeFili,
                                          const std::string& stNmMunicipio, const std::string& stCdInscMuni,
                                          const std::string& stNRSERIEECF, const std::string& stDsObsCupFis,
                                          bool /*boUtilizaImpFiscal*/) {
  constexpr const char* kOperation = "Compr_Cred_Bematech_NFISC";
  return kvr::LoggedFalseOnException(kOperation, [&] {
    const kvr::PrinterModel model = kvr::ModelParameters(stIdTipoImpNF1);
    const kvr::CreditPurchase purchase =
        kvr::Purchase(cdsMovCaixaCred, doSald, stNmConsCred, stNrDeposi, stNmFamilia);
    const kvr::Branch branch{stNrVendaNFisc, stNmRazSocFili, stNmCaixa,     stDsEndeFili,
                             stNmMunicipio,  stCdInscMuni,   stNRSERIEECF, stDsObsCupFis};
    kvr::SlipText slip(model.width, model.line_end);
    if (stPaisIntegra == "01")
      kvr::BranchSlip(slip, purchase, branch);
    else if (stPaisIntegra == "02")
      kvr::SpanishSlip(slip, purchase, branch);
    else
      kvr::PlainSlip(slip, purchase);
    slip.Centred(kvr::MakerFooter(model.width));

    if (stIdTipoImpNF1 == "7") {
      slip.Feed(10);
      return kvr::WriteToSerialPort(kOperation, slip.Text() + model.paper_cut, stCdPortImpNF1);
    }
    int copies = 0;
    if (!kvr::CopyCount(kOperation, stImpComCredPe, copies)) return false;
    if (!kvr::PortFound(kOperation, stCdPortImpNF1)) return false;
    kvr::ReceiptPrinterPort printer(kOperation);
    if (!printer.Open(stCdPortImpNF1)) return false;
    for (int copy = 1; copy <= copies; ++copy) {
      slip.Feed(6);
      printer.Print(slip.Text(), kvr::kSlipAttributes);
    }
    printer.Command(model.paper_cut);
    printer.Close();
    return true;
  });
}

// The 48-column slip, each copy followed by six more line feeds and carriage
// returns; no paper cut. False when the port is not found or cannot be
// opened, or the copy count is not a number from 0 to 99.
KVR_EXPORT bool Compr_Cred_Bematech_MP100(const std::string& /*stCupomDia*/, hostrt::ClientDataSet& cdsMovCaixaCred,
                                          double doSald, const std::string& stNmConsCred,
                                          const std::string& stNrDeposi, const std::string& stNmFamilia,
                                          const std::string& stImpComCredPe, const std::string& /*stPaisIntegra*/,
                                          const std::string& stCdPortImpNF1, const std::string& /*stNrVendaNFisc*/,
                                          bool /*boUtilizaImpFiscal*/) {
  constexpr const char* kOperation = "Compr_Cred_Bematech_MP100";
  return kvr::LoggedFalseOnException(kOperation, [&] {
    kvr::SlipText slip(48, "\n");
    kvr::PurchaseLines(slip, kvr::Purchase(cdsMovCaixaCred, doSald, stNmConsCred, stNrDeposi, stNmFamilia), true);
    int copies = 0;
    if (!kvr::CopyCount(kOperation, stImpComCredPe, copies)) return false;
    if (!kvr::PortFound(kOperation, stCdPortImpNF1)) return false;
    kvr::ReceiptPrinterPort printer(kOperation);
    if (!printer.Open(stCdPortImpNF1)) return false;
    std::string feed;
    for (int i = 0; i < 6; ++i) feed += "\n\r";
    for (int copy = 1; copy <= copies; ++copy) {
      printer.Print(slip.Text() + "\n\r", kvr::kSlipAttributes);
      printer.Print(feed, kvr::kSlipAttributes);
    }
    printer.Close();
    return true;
  });
}

}  // extern "C"
