// ImprimeTef: the card slips of a TEF payment, printed in a receipt linked to
// the coupon's card payment or in a management report. A slip must never be
// lost: the printer is checked before anything is sent, and when a piece of
// the last slip or the close fails, the operator may have every slip printed
// again in a new management report.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_call.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

constexpr std::size_t kLinesPerPiece = 4;
constexpr int kReportLeftOpen = 4;  // extended status that calls for one more close

// The pieces a copy is sent in: up to four lines each, every line with its
// line feed. Characters after the last line feed make a last piece of their
// own, so that a copy always ends.
std::vector<std::string> Pieces(std::string_view text) {
  std::vector<std::string> pieces;
  while (!text.empty()) {
    std::size_t end = 0;
    for (std::size_t lines = 0; lines < kLinesPerPiece && end < text.size(); ++lines) {
      const std::size_t feed = text.find('\n', end);
      end = feed == std::string_view::npos ? text.size() : feed + 1;
    }
    pieces.emplace_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return pieces;
}

class TefSlips {
 public:
  TefSlips(const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
           const std::string& stEsquemaCor, std::vector<std::string> first, std::vector<std::string> second,
           const std::string& stCupom, const std::string& stDescricao, double doTotRec, int inErro,
           const std::string& stIdUtilCupTefRed)
      : serial_(stNrSerie),
        branch_(stCdFilial),
        till_(stCdCaixa),
        colour_(stEsquemaCor),
        first_(std::move(first)),
        second_(std::move(second)),
        coupon_(stCupom),
        payment_(stDescricao.substr(0, 16)),
        amount_(ReceiptCentsText(doTotRec)),
        report_mode_(inErro == 2),
        both_copies_(stIdUtilCupTefRed == "N") {}

  bool Print() {
    hostrt::Delay(2);
    if (!CheckPrinter()) return false;
    if (first_.empty()) return false;
    if (OpenDocument()) PrintUntilDone();
    if (open_) FechRelatGerenc(colour_, true, false);
    return result_;
  }

 private:
  bool AskAgain() const { return Ask(Msg("Imp_N_Resp"), hostrt::kErrorOrRetry, colour_); }

  // The printer must answer before a slip is sent; only the first answer
  // decides whether the documents are registered.
  bool CheckPrinter() {
    first_check_ = Estado_Imp(colour_, true, false);
    for (bool answered = first_check_; !answered; answered = Estado_Imp(colour_, true, false))
      if (!AskAgain()) return false;
    return true;
  }

  void Register(const char* type) const {
    if (first_check_) GravaDocumentosNaoFiscais(serial_, colour_, type);
  }

  bool OpenReport() { return Relatorio_Gerencial_Imp(colour_, branch_, till_, ""); }

  // Closes a report left open, once more when the printer still reports one.
  void CloseLeftOpenReport() {
    FechRelatGerenc(colour_, true, false);
    int status = 0;
    const CallResult read = CallPrinter(
        colour_, kSilent, Bematech_FI_StatusEstendidoMFD,
        [&] { return ReplyLine(Bematech_FI_StatusEstendidoMFD.name, platform::to_text(status)); }, &status);
    if (read.code == 1 && status == kReportLeftOpen) FechRelatGerenc(colour_, true, false);
  }

  bool OpenDocument() {
    for (;;) {
      if (report_mode_) {
        CloseLeftOpenReport();
        open_ = OpenReport();
        if (open_) Register("RG");
      } else {
        coupon_ = Nr_Cupom("", colour_);
        open_ = both_copies_ ? Abre_Comp_NFiscalVinc(colour_, payment_, amount_, coupon_) : OpenReport();
        if (open_) Register("CN");
      }
      if (open_) return true;
      if (!AskAgain()) return false;
      report_mode_ = true;
    }
  }

  // Sends a copy piece by piece; false at the first piece that fails.
  bool PrintCopy(const std::string& text) const {
    for (const std::string& piece : Pieces(text))
      if (!Usa_CompNFis(colour_, piece)) return false;
    return true;
  }

  // One pass over every slip; true when all were printed and the document closed.
  bool Pass() {
    bool failed = false;
    for (std::size_t slip = 0; slip < first_.size(); ++slip) {
      if (!failed && both_copies_) failed = !PrintCopy(first_[slip]);
      if (slip < second_.size() && !failed) {
        hostrt::Delay(4);
        failed = !PrintCopy(second_[slip]);
      }
      // Only the last slip's failure is reported.
      if (slip + 1 < first_.size()) failed = false;
    }
    if (failed) return false;
    // A close that fails leaves the document open on the printer: it stays
    // counted as open, so that a repeat closes it before the new report and
    // the end closes it at the latest.
    if (!FechRelatGerenc(colour_, true, false)) return false;
    open_ = false;
    if (!hostrt::EmptyString(coupon_)) result_ = true;
    return true;
  }

  // Passes until one prints everything, or the operator gives up. A repeat
  // reprints every slip in a new management report.
  void PrintUntilDone() {
    for (bool done = Pass(); !done;) {
      if (!AskAgain()) {
        // A document still open is closed at the end all the same: the
        // printer is left ready for the next sale.
        if (!hostrt::EmptyString(coupon_)) result_ = false;
        return;
      }
      if (open_ && !FechRelatGerenc(colour_, true, false)) continue;  // asked again
      open_ = OpenReport();
      if (!open_) continue;  // nothing to print into: asked again
      Register("RG");
      done = Pass();
    }
  }

  const std::string serial_, branch_, till_, colour_;
  const std::vector<std::string> first_, second_;
  std::string coupon_;
  const std::string payment_, amount_;
  bool report_mode_;
  const bool both_copies_;
  bool first_check_ = false;
  bool open_ = false;
  bool result_ = false;
};

std::vector<std::string> ListOf(const std::vector<std::string>* list) { return list ? *list : std::vector<std::string>{}; }

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool ImprimeTef(const std::string& stNrSerie, const std::string& stCdFilial, const std::string& stCdCaixa,
                           const std::string& stEsquemaCor, const std::vector<std::string>* stlPrimeira,
                           const std::vector<std::string>* stlSegunda, const std::vector<std::string>* /*stlData*/,
                           const std::vector<std::string>* /*stlHora*/, const std::string& stCupom,
                           const std::string& stDescricao, const std::string& /*stTipo*/, double /*doTotal*/,
                           double doTotRec, int inErro, const std::string& stIdUtilCupTefRed) {
  try {
    kvr::TefSlips slips(stNrSerie, stCdFilial, stCdCaixa, stEsquemaCor, kvr::ListOf(stlPrimeira),
                        kvr::ListOf(stlSegunda), stCupom, stDescricao, doTotRec, inErro, stIdUtilCupTefRed);
    return slips.Print();
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! ImprimeTef: ") + error.what());
    return false;
  } catch (...) {
    kvr::Log("ERRO!!! ImprimeTef");
    return false;
  }
}

}  // extern "C"
