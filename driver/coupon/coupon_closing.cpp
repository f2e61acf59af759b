// Closing the fiscal coupon: discount or surcharge, the sale's payments
// oldest first, the footer that ends the coupon, and a non-fiscal receipt
// after it on request.
#include <exception>
#include <memory>
#include <optional>

#include "core/debug_log.h"
#include "core/effect_checks.h"
#include "core/payment_tally.h"
#include "core/printer_call.h"
#include "core/printer_figures.h"
#include "core/printer_status.h"
#include "coupon/closing_args.h"
#include "coupon/closing_datasets.h"
#include "coupon/coupon_figures.h"
#include "coupon/coupon_footer.h"
#include "coupon/opened_coupon.h"
#include "coupon/positional_args.h"
#include "coupon/retry_question.h"
#include "coupon/text_forms.h"
#include "datamodule/data_module.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

// The closing step reached: 1 discount or surcharge, 2 payments, 3 footer.
// It only moves forward; a retry repeats the failed call of the current step.
class ClosingStep {
 public:
  int Value() const { return value_; }
  void AdvanceTo(int step) {
    if (step > value_) value_ = step;
  }

 private:
  int value_ = 1;
};

// How far the closing of the coupon this driver opened has got, kept across
// calls: a closing repeated after a failure resumes from there instead of
// starting again with a discount the printer refuses in the payment phase,
// or paying twice what it already took.
struct ClosingProgress {
  long long opening = 0;            // the opening of the coupon it belongs to
  bool begun = false;               // the discount or surcharge was taken
  int rows_taken = 0;               // payment rows taken, in the order they are sent
  bool end_sent = false;            // the end of the coupon was sent

  // The progress of the coupon opened last; a new coupon, or one whose COO
  // is not known, starts afresh.
  static ClosingProgress& OfOpenedCoupon() {
    static ClosingProgress progress;
    if (!OpenedCoupon() || progress.opening != OpeningSerial()) {
      progress = ClosingProgress();
      progress.opening = OpeningSerial();
    }
    return progress;
  }
  bool Resuming() const { return begun || rows_taken > 0 || end_sent; }
};

// A payment type as the printer knows it.
struct PaymentType {
  std::string name;  // NMTIPORECE: the name programmed in the printer
  std::string kind;  // IDTIPORECE: "8" agreement, "9" and "A" consumer account
};

class CouponClosing {
 public:
  CouponClosing(const ClosingArgs& args, const std::vector<std::string>* stlCupomTef)
      : a_(args), slip_(stlCupomTef), flags_{args.boMsgTef, false, false}, retry_(args.stEsquemaCor) {
    if (a_.TefMode()) retry_.SetQuestion(PrinterNotRespondingQuestion());
  }

  // The closing up to the end of the coupon; false when a step failed.
  bool Run() {
    stImpMesCom_ = TableLine(a_.stMesaCom);
    LoadClosingDatasets(dm_, a_);
    if (!CheckPrinter()) return false;
    resuming_ = progress_.Resuming();
    if (resuming_ && !ResumeFromPrinter()) return false;
    if (ended_) return true;
    return SendAdjustment() && SendPayments() && EndCoupon();
  }

  // The receipt after the coupon; it never changes the closing's result.
  void ReceiptAfterCoupon() {
    if (!a_.boImpCV) return;
    try {
      const std::string amount = ReceiptAmountText(a_.Troco);
      const std::string payment = Msg("Dinheiro").substr(0, 16);
      CallPrinter(a_.stEsquemaCor, flags_, Bematech_FI_RecibimientoNoFiscal,
                  "Bematech_FI_RecibimientoNoFiscal : " + a_.stTotParcCV + " - " + amount + " - " + payment,
                  a_.stTotParcCV.c_str(), amount.c_str(), payment.c_str());
      NumeroOperacoesNaoFiscais(a_.stEsquemaCor, stNrGNF_);
    } catch (const std::exception& error) {
      Log(std::string("ERRO!!! FechaCupom: ") + error.what());
    }
  }

  // Whether the printer has ended the coupon. An end accepted by the return
  // analysis has; with no payment accepted no end was sent, so the coupon is
  // still open; the slip footer's end is not analysed, so the printer is asked.
  bool EndConfirmed() {
    if (end_ == End::kNotSent) {
      Log(platform::L1("ERRO!!! FechaCupom: nenhum pagamento aceito; o cupom continua aberto"));
      return false;
    }
    if (end_ == End::kAccepted) return true;
    StatusBytes& status = LastStatus();
    const CallResult read = CallPrinter(a_.stEsquemaCor, kSilent, Bematech_FI_VerificaEstadoImpresora,
                                        "Bematech_FI_VerificaEstadoImpresora", &status.ack, &status.st1, &status.st2);
    if (read.code == 1 && (LastStatus().st1 & kCouponOpenBit) != 0) {
      Log(platform::L1("ERRO!!! FechaCupom: a impressora não encerrou o cupom"));
      return false;
    }
    return true;
  }

  int inErro() const { return retry_.Retried() ? 1 : 0; }
  const std::string& stNrGNF() const { return stNrGNF_; }

 private:
  // One call under the retry rule: in TEF mode the operator may repeat it. A
  // call the printer executed without answering is never repeated.
  template <typename Signature, typename Call>
  bool Attempt(const EffectCheck& check, const Slot<Signature>& slot, Call&& call) {
    return retry_.Repeat(check, slot, call) == RetryOutcome::kAccepted;
  }

  bool CheckPrinter() {
    if (a_.IdUtilTef != "T" || !a_.UtilTef) return true;
    return retry_.Repeat([&] { return Estado_Imp(a_.stEsquemaCor, false, false); }) == RetryOutcome::kAccepted;
  }

  // A repeated closing of the same coupon: the printer's flags tell whether
  // the coupon is still open and its closing begun.
  bool ResumeFromPrinter() {
    Log(platform::L1("FechaCupom: retomando o fechamento do cupom ") + CouponNumberText(*OpenedCoupon()));
    const std::optional<int> flags = ReadFiscalFlags();
    if (!flags) {
      Log(platform::L1("ERRO!!! FechaCupom: estado do cupom ilegível"));
      return false;
    }
    if ((*flags & kFlagCouponOpen) == 0) {
      // The coupon is no longer open: ended by the end this closing sent.
      if (!progress_.end_sent) {
        Log(platform::L1("ERRO!!! FechaCupom: o cupom não está mais aberto"));
        return false;
      }
      ended_ = true;
      end_ = End::kAccepted;
      return true;
    }
    if (*flags & kFlagClosingBegun) progress_.begun = true;
    return true;
  }

  bool SendAdjustment() {
    if (progress_.begun) {
      step_.AdvanceTo(2);
      return true;
    }
    std::string kind = "d", amount;
    if (a_.vrDesconto > 0) {
      amount = ClosingAdjustmentText(a_.vrDesconto);
    } else if (a_.doVrServico > 0) {
      kind = "a";
      amount = ClosingAdjustmentText(a_.doVrServico);
    } else {
      amount = hostrt::FloatToStr(a_.vrDesconto);
    }
    const bool accepted = Attempt(ClosingBegun(), Bematech_FI_IniciaCierreCupon, [&] {
      return CallPrinter(a_.stEsquemaCor, flags_, Bematech_FI_IniciaCierreCupon,
                         "Bematech_FI_IniciaCierreCupon : " + kind + " - $ - " + amount, kind.c_str(), "$",
                         amount.c_str());
    });
    if (accepted) {
      step_.AdvanceTo(2);
      progress_.begun = true;
      figures_.AdjustmentTaken(kind, amount);
    }
    return accepted;
  }

  PaymentType TypeOfCurrentRow(hostrt::ClientDataSet& row) {
    const std::string code = OptionalText(row, "CDBANCARTCR").empty() ? row.FieldByName("CDTIPORECE").AsString()
                                                                       : OptionalText(row, "CDTIPORECEORIG");
    hostrt::ClientDataSet& types = dm_.cdsRecebAux;
    if (types.Active() && types.Locate("CDTIPORECE", code))
      return {types.FieldByName("NMTIPORECE").AsString(), OptionalText(types, "IDTIPORECE")};
    // A type the till does not list: the row's own name and kind.
    Log("ERRO!!! FechaCupom: tipo de recebimento " + code + " ausente");
    return {OptionalText(row, "NMTIPORECE"), OptionalText(row, "IDTIPORECE")};
  }

  bool SendPayments() {
    CollectPaymentRows(dm_, a_.TefMode());
    hostrt::ClientDataSet& rows = dm_.cdsMovCaixaTef;
    rows.SetIndexName(kIdxDtHrIncMov);
    int row_number = 0;
    for (rows.First(); !rows.Eof(); rows.Next()) {
      const std::string movement = rows.FieldByName("IDTIPOMOVIVE").AsString();
      if (movement != "E" && movement != "T") continue;
      const PaymentType type = TypeOfCurrentRow(rows);
      const double value = rows.FieldByName("VRMOVIVEND").AsFloat();
      if (type.kind == "8") boConvenio_ = true;
      if (type.kind == "9" || type.kind == "A") doValorCons_ += value;
      const std::string name = type.name.substr(0, 16);
      const std::string amount = PaymentAmountText(value);
      const std::optional<long long> growth = figures_.PaymentGrowth(amount);
      const EffectCheck paid = FormTotals().Payment(name, growth);
      if (++row_number <= progress_.rows_taken) {
        step_.AdvanceTo(3);  // taken by an earlier attempt of this closing
        continue;
      }
      // The first row an earlier attempt did not see taken may have gone in
      // with its answer lost: the form's total tells.
      if (resuming_ && row_number == progress_.rows_taken + 1 && paid.judge &&
          paid.judge() == Effect::kExecuted) {
        Log("ERRO!!! Bematech_FI_EfectuaFormaPago" + platform::L1(": a impressora executou o comando sem responder"));
      } else {
        const bool accepted = Attempt(paid, Bematech_FI_EfectuaFormaPago, [&] {
          return CallPrinter(a_.stEsquemaCor, flags_, Bematech_FI_EfectuaFormaPago,
                             "Bematech_FI_EfectuaFormaPago : " + name + " - " + amount, name.c_str(), amount.c_str());
        });
        if (!accepted) return false;
      }
      FormTotals().Taken(name, growth);
      figures_.PaymentTaken(amount);
      progress_.rows_taken = row_number;
      step_.AdvanceTo(3);
    }
    rows.SetIndexName(kIdxNrOrdTroco);
    return true;
  }

  bool EndCoupon() {
    if (step_.Value() != 3) return true;  // no payment was sent: the coupon stays as it is
    end_ = End::kUnverified;
    const BalanceData balances{dm_.cdsSaldCred, dm_.cdsFamiliaSaldo, dm_.cdsEmprestimo};
    const FooterInput input{a_, slip_, stImpMesCom_, boConvenio_, doValorCons_};
    // The footer depends on the arguments alone, so a repeated call sends the
    // same text, balances included.
    const Footer footer = BuildFooter(input, balances);
    progress_.end_sent = true;
    if (footer.layout == FooterLayout::kTefSlip) {
      // The slip footer counts as ending the coupon whatever the printer answers.
      Bematech_FI_TerminaFechamentoCupom(footer.text.c_str());
      Log("Bematech_FI_TerminaFechamentoCupom");
      return true;
    }
    const bool accepted = Attempt(kvr::CouponEnded(), Bematech_FI_FinalizarCierreCupon, [&] {
      return CallPrinter(a_.stEsquemaCor, flags_, Bematech_FI_FinalizarCierreCupon,
                         "Bematech_FI_FinalizarCierreCupon", footer.text.c_str());
    });
    if (accepted) end_ = End::kAccepted;
    return accepted;
  }

  enum class End { kNotSent, kUnverified, kAccepted };

  const ClosingArgs& a_;
  const std::vector<std::string>* slip_;
  const Analysis flags_;
  RetryQuestion retry_;
  ClosingStep step_;
  ClosingProgress& progress_ = ClosingProgress::OfOpenedCoupon();
  CouponFigures& figures_ = CouponFigures::OfOpenedCoupon();
  bool resuming_ = false;  // an earlier attempt of this closing got somewhere
  bool ended_ = false;     // a repeated closing found the coupon ended
  End end_ = End::kNotSent;
  TdtmBematech12& dm_ = DataModule();
  std::string stImpMesCom_;
  bool boConvenio_ = false;
  double doValorCons_ = 0;
  std::string stNrGNF_;
};

void WriteClosingResult(hostrt::Variant& oleRetorno, int inTefErro, const std::string& stNrCupom,
                        const std::string& stNrGNF) {
  SetResultElement(oleRetorno, 0, inTefErro);
  SetResultElement(oleRetorno, 1, stNrCupom);
  SetResultElement(oleRetorno, 2, stNrGNF);
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool FechaCupom(const hostrt::Variant* arParams, int arParams_High,
                           const std::vector<std::string>* stlCupomTef, hostrt::Variant& oleRetorno) {
  kvr::ClosingArgs args;
  std::unique_ptr<kvr::CouponClosing> closing;
  try {
    args = kvr::ReadClosingArgs(arParams, arParams_High);
    closing = std::make_unique<kvr::CouponClosing>(args, stlCupomTef);
    if (!closing->Run()) return false;  // the coupon stays as far as it got
    // A coupon still open is no success, and the receipt after it would be
    // refused while its counter read cancelled the coupon.
    if (!closing->EndConfirmed()) return false;
    const int cancelled_before = kvr::CouponsCancelledByAnalysis();
    closing->ReceiptAfterCoupon();
    if (kvr::CouponsCancelledByAnalysis() != cancelled_before) {
      kvr::Log("ERRO!!! FechaCupom: cupom cancelado pela leitura do contador");
      return false;
    }
    kvr::WriteClosingResult(oleRetorno, closing->inErro(), args.stNrCupom, closing->stNrGNF());
    return true;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! FechaCupom: ") + error.what());
    try {
      kvr::WriteClosingResult(oleRetorno, closing ? closing->inErro() : 0, args.stNrCupom,
                              closing ? closing->stNrGNF() : std::string());
    } catch (const std::exception&) {
      // The result array itself is unusable; the verdict still says False.
    }
    return false;
  }
}

}  // extern "C"
