// EnviaComando: one command through the raw channel. boComando keeps a second
// command (for instance from a dialog's message loop) from starting while one
// is in progress; it is cleared on every way out, exceptions included.
#include "restaurant/command_channel.h"

#include "core/debug_log.h"
#include "core/effect_checks.h"
#include "core/dialogs.h"
#include "datamodule/data_module.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

constexpr char kEsc = 27;
constexpr int kPaperOut = 128;      // ST1 bit 7
constexpr int kPrinterBusy = 64;    // ST2 bit 6: the command is still being executed

struct RawStatus {
  int ret = 0, ack = 0, st1 = 0, st2 = 0;
};

RawStatus ReadStatus() {
  RawStatus status;
  BemaStatus_Mp20FI(&status.ret, &status.ack, &status.st1, &status.st2);
  return status;
}

// Sends the status request and reads the answer.
RawStatus RequestStatus() {
  static const std::string request = CommandFrame("19", {});
  BemaFormataTX(request.c_str());
  return ReadStatus();
}

// Commands that leave a fiscal coupon open on purpose: the analysis of their
// status must not cancel the coupon they have just opened.
bool OpensCoupon(const std::string& code) { return code == "00" || code == "80|52"; }

// A send that failed with no word of the port, the configuration or the
// power may have reached the printer.
bool RawSendUnclear(int code) { return code != 0 && code != -4 && code != -5 && code != -6; }

// What tells whether a command went through when its send got no answer:
// documents raise the COO, a cancellation the count of cancelled coupons. The
// table memory and the reports leave no figure to tell them by.
EffectCheck RawCommandCheck(const std::string& code) {
  if (OpensCoupon(code)) return CouponIsOpen();
  if (code == "66") return NonFiscalDocumentIsOpen();
  if (code == "10" || code == "74") return DocumentIssued();
  if (code == "14") return CouponCancelled();
  // A read changes nothing: a send without an answer is a plain failure.
  if (code == "27" || code == "35") return {{}, [] { return Effect::kNotExecuted; }};
  return {};
}

// Sets boComando for its lifetime.
class CommandInProgress {
 public:
  CommandInProgress() { boComando = true; }
  ~CommandInProgress() { boComando = false; }
  CommandInProgress(const CommandInProgress&) = delete;
  CommandInProgress& operator=(const CommandInProgress&) = delete;
};

}  // namespace

std::string CommandFrame(const std::string& code, const std::vector<std::string>& parameters) {
  std::string frame{kEsc, '|'};
  frame += code;
  for (const auto& parameter : parameters) frame += "|" + parameter;
  frame += '|';
  frame += kEsc;
  return frame;
}

}  // namespace kvr

extern "C" {

KVR_EXPORT bool EnviaComando(const std::string& stEsquemaCor, const std::string& Comando,
                             const std::vector<std::string>& Parametros, bool boMsg, bool /*boCheckRetorno*/) {
  kvr::DataModule();
  if (boComando) return false;
  kvr::CommandInProgress in_progress;
  const std::string frame = kvr::CommandFrame(Comando, Parametros);

  // A library without the raw channel cannot take the command: say so once,
  // rather than failing on an unbound slot.
  if (!BemaFormataTX.Bound() || !BemaStatus_Mp20FI.Bound()) {
    kvr::Log(platform::L1("ERRO!!! Comando : ") + frame + platform::L1(" (canal de comandos indisponível)"));
    if (boMsg) kvr::Notice(kvr::Msg("ErroComando"), hostrt::kErrorOrRetry, stEsquemaCor);
    return false;
  }

  kvr::RawStatus status = kvr::RequestStatus();
  while (boMsg && (status.st1 & kvr::kPaperOut)) {
    const std::string paper_out = kvr::Msg("FimPapel");
    kvr::Log("ERRO!!! " + paper_out);
    kvr::Notice(paper_out, hostrt::kPrinterNotice, stEsquemaCor);
    status = kvr::RequestStatus();
  }

  const kvr::EffectCheck check = kvr::RawCommandCheck(Comando);
  if (check.before) check.before();
  kvr::Log("Comando : " + frame);
  const int sent = BemaFormataTX(frame.c_str());
  // A send without an answer may still have reached the printer: it is never
  // repeated, and it counts as accepted when the printer's figures show it.
  const kvr::VerifiedResult verified =
      kvr::JudgeAttempt(kvr::CallResult{sent, sent == 0, kvr::RawSendUnclear(sent)}, check, "Comando : " + frame);
  const bool accepted = verified.ok;
  if (accepted) {
    // The command's own status first; a busy printer is asked again.
    for (status = kvr::ReadStatus(); status.st2 & kvr::kPrinterBusy;) status = kvr::RequestStatus();
  }
  if (accepted || !boMsg)
    return ImpressoraOK(stEsquemaCor, boMsg, Comando != "14" && !kvr::OpensCoupon(Comando), Comando == "00");

  kvr::Log("ERRO!!! Comando : " + frame);
  if (ImpressoraOK(stEsquemaCor, true, false, false))
    kvr::Notice(verified.unknown ? kvr::Msg("ErroComando") + "\r\n" + kvr::Msg("ConferePapel") : kvr::Msg("ErroComando"),
                hostrt::kErrorOrRetry, stEsquemaCor);
  return false;
}

}  // extern "C"
