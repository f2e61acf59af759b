// ImprimeTef: the card slips of a TEF payment, printed in a receipt linked to
// the coupon's card payment or in a management report. A slip must never be
// lost: the printer is checked before anything is sent, and when a piece of
// any slip or the close fails, the operator may have every slip printed
// again in a new management report. The document is recorded once, when every
// slip is on paper in a closed document.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "core/printer_figures.h"
#include "coupon/retry_question.h"
#include "coupon/text_forms.h"
#include "documents/document_builder.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

constexpr std::size_t kLinesPerPiece = 4;

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
        both_copies_(stIdUtilCupTefRed == "N"),
        document_(stEsquemaCor, std::string::npos) {
    document_.Named("ImprimeTef").CallerAsks();
  }

  bool Print() {
    hostrt::Delay(2);
    if (!CheckPrinter()) return false;
    if (first_.empty()) return false;
    if (OpenDocument()) PrintUntilDone();
    // A document left open (or one opened although its answer was lost) is
    // closed: the printer is left ready for the next sale.
    if (!done_) document_.Close();
    return result_;
  }

 private:
  bool AskAgain() const { return AskAfterRefusal(colour_, {}, false); }

  // The printer must answer before a slip is sent; only the first answer
  // decides whether the documents are registered.
  bool CheckPrinter() {
    first_check_ = Estado_Imp(colour_, true, false);
    for (bool answered = first_check_; !answered; answered = Estado_Imp(colour_, true, false))
      if (!AskAgain()) return false;
    return true;
  }

  bool OpenReport() {
    type_ = "RG";
    return document_.OpenReport(branch_, till_);
  }

  // Closes a report left open, once more when the printer still reports one
  // (one close each, asked about by no one: a report that stays open makes
  // the opening fail, and that is asked about). A printer that says none is
  // open is sent no close, so that no refusal is shown for a report that is
  // not there; one that does not tell is sent the close all the same, since a
  // report it still held would take the slips in place of their own report.
  void CloseLeftOpenReport() {
    for (int closes = 0; closes < 2; ++closes) {
      const std::optional<bool> open = NonFiscalDocumentOpen();
      if (open && !*open) return;
      CloseDocument(colour_, true, false);
    }
  }

  bool OpenDocument() {
    for (;;) {
      bool opened = false;
      if (report_mode_) {
        CloseLeftOpenReport();
        opened = OpenReport();
      } else {
        coupon_ = Nr_Cupom("", colour_);
        type_ = "CN";
        opened = both_copies_ ? document_.OpenLinkedReceipt(payment_, amount_, coupon_) : document_.OpenReport(branch_, till_);
      }
      if (opened) return true;
      if (!AskAgain()) return false;
      report_mode_ = true;
    }
  }

  // Sends a copy piece by piece; false at the first piece that fails.
  bool PrintCopy(const std::string& text) {
    for (const std::string& piece : Pieces(text))
      if (!document_.Text(piece).HandOver()) return false;
    return true;
  }

  // One pass over every slip; true when all were printed and the document
  // closed. A piece of any slip that fails ends the pass: a slip is never
  // left half printed without the question.
  bool Pass() {
    close_failed_ = false;
    for (std::size_t slip = 0; slip < first_.size(); ++slip) {
      if (both_copies_ && !PrintCopy(first_[slip])) return false;
      if (slip < second_.size()) {
        hostrt::Delay(4);
        if (!PrintCopy(second_[slip])) return false;
      }
    }
    if (document_.Close()) return Printed();
    close_failed_ = true;
    return false;
  }

  // Every slip is on paper in a closed document: it is recorded once, and
  // the result is true for a sale's slips.
  bool Printed() {
    done_ = true;
    if (first_check_) GravaDocumentosNaoFiscais(serial_, colour_, type_);
    if (!hostrt::EmptyString(coupon_)) result_ = true;
    return true;
  }

  // Passes until one prints everything, or the operator gives up. A repeat
  // reprints every slip in a new management report.
  void PrintUntilDone() {
    for (bool printed = Pass(); !printed;) {
      const bool again = AskAgain();
      // A close whose answer was lost: the printer, now answering, tells
      // whether the slips are in a closed document.
      if (close_failed_ && NonFiscalDocumentOpen() == std::optional<bool>(false)) {
        Printed();
        return;
      }
      if (!again) {
        if (!hostrt::EmptyString(coupon_)) result_ = false;
        return;
      }
      document_.Close();  // the failed document, if the printer still holds it
      if (!OpenReport()) continue;  // nothing to print into: asked again
      printed = Pass();
    }
  }

  const std::string serial_, branch_, till_, colour_;
  const std::vector<std::string> first_, second_;
  std::string coupon_;
  const std::string payment_, amount_;
  bool report_mode_;
  const bool both_copies_;
  DocumentBuilder document_;
  const char* type_ = "CN";  // the register type of the document being printed
  bool first_check_ = false;
  bool close_failed_ = false;  // the last pass printed every slip and only its close failed
  bool done_ = false;          // the slips are whole in a closed document
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
