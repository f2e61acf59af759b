// Turns a result code and the status bytes into one verdict, log lines and,
// on request, operator dialogs.
#include <array>
#include <exception>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_call.h"
#include "core/printer_status.h"
#include "datamodule/data_module.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"

namespace kvr {

StatusBytes& LastStatus() {
  static StatusBytes status;
  return status;
}

namespace {

int& cancellations() {
  static int count = 0;
  return count;
}

}  // namespace

int CouponsCancelledByAnalysis() { return cancellations(); }

bool AnswerUnclear(int code) {
  // The library sends nothing to a printer that is off or a port that failed.
  constexpr int kCodePortError = -5, kCodePrinterOff = -6;
  if (code == kCodePrinterOff || code == kCodePortError) return false;
  const StatusBytes& status = LastStatus();
  return code == 0 || !status.read || (status.st1 & kPaperOutBit) != 0;
}

namespace {

struct CodeRow {
  int code;
  const char* key;
};

// Result codes that mean a refusal; any other code passes.
constexpr std::array<CodeRow, 19> kCodes{{
    {0, "ErroComunicacao"}, {-1, "ErroExecucao"},  {-2, "ParamInvalido"}, {-3, "AliqNProg"},
    {-4, "ErroArqIni"},     {-5, "ErroPorta"},     {-6, "ImpDeslig"},     {-7, "BancoNCad"},
    {-8, "ErroGravacao"},   {-18, "ErroAbrirArq"}, {-19, "ParamErro"},    {-20, "TransCanc"},
    {-21, "TransAprov"},    {-22, "ImpNConcl"},    {-23, "OperNConcl"},   {-24, "FormPgtoNProg"},
    {-25, "TotNFisNProg"},  {-26, "TransEfet"},    {-28, "InfNImpre"},
}};

enum class Effect { Fails, PaperNearEnd, CouponOpen };

struct BitRow {
  bool second_byte;  // ST2 rather than ST1
  int mask;
  const char* key;
  Effect effect;
};

// Status bits in the order they are examined: ST1 bit 7 to 0, then ST2 bit 7 to 0.
constexpr std::array<BitRow, 16> kBits{{
    {false, 128, "FimPapel", Effect::Fails},
    {false, 64, "PoucoPapel", Effect::PaperNearEnd},
    {false, 32, "ErroRelogio", Effect::Fails},
    {false, 16, "ImpErro", Effect::Fails},
    {false, 8, "SyntaxErro", Effect::Fails},
    {false, 4, "ComandoErro", Effect::Fails},
    {false, 2, "CupomAberto", Effect::CouponOpen},
    {false, 1, "ParamErro", Effect::Fails},
    {true, 128, "TipoParamErro", Effect::Fails},
    {true, 64, "MemLotada", Effect::Fails},
    {true, 32, "MemRAMErro", Effect::Fails},
    {true, 16, "AliqNProg", Effect::Fails},
    {true, 8, "AliqLotada", Effect::Fails},
    {true, 4, "CancNPermitido", Effect::Fails},
    {true, 2, "CGCIENProg", Effect::Fails},
    {true, 1, "ComandoNExec", Effect::Fails},
}};

void LogAndShow(const std::string& text, bool show, const std::string& stEsquemaCor) {
  Log("ERRO!!! " + text);
  if (show) Notice(text, hostrt::kPrinterNotice, stEsquemaCor);
}

// How the two analyses differ in the status part.
enum class Mode { Analysis, StatusOnly };

// Steps 2 to 4: reads the status bytes and examines them. `result` is the
// verdict so far.
bool ExamineStatus(Mode mode, const std::string& stEsquemaCor, bool boMsg, bool boFechaCupom, bool boAbreCupom,
                   bool result) {
  StatusBytes& status = LastStatus();
  status = {};
  bool readable = true;
  try {
    const int read = Bematech_FI_RetornoImpresora(&status.ack, &status.st1, &status.st2);
    // The status query alone takes the bytes whatever the call returns.
    readable = mode == Mode::StatusOnly || read == 1;
  } catch (const std::exception&) {
    readable = false;  // the entry point is not bound
  }
  status.read = readable;
  if (!readable) {
    Log("ERRO!!! Ret recebido");
    if (boMsg) Notice(Msg("ImpErro"), hostrt::kPrinterNotice, stEsquemaCor);
    return false;
  }
  if (status.ack == kNak) {
    Log("ERRO!!! NAK recebido");
    if (boMsg) Notice(Msg("ImpErro"), hostrt::kPrinterNotice, stEsquemaCor);
    return false;
  }
  // The bytes as read now: cancelling an open coupon reads the status again.
  const StatusBytes bytes = status;
  for (const BitRow& bit : kBits) {
    if (((bit.second_byte ? bytes.st2 : bytes.st1) & bit.mask) == 0) continue;
    const std::string text = Msg(bit.key);
    switch (bit.effect) {
      case Effect::Fails:
        if (mode == Mode::Analysis || boMsg) LogAndShow(text, boMsg, stEsquemaCor);
        result = false;
        break;
      case Effect::PaperNearEnd: {
        const bool show = boMsg && boAbreCupom;
        if (mode == Mode::Analysis || show) LogAndShow(text, show, stEsquemaCor);
        break;
      }
      case Effect::CouponOpen:
        Log("ERRO!!! " + text);
        if (boFechaCupom) {
          int code = 0;
          try {
            code = Bematech_FI_CancelaCupom();
          } catch (const std::exception&) {
            code = 0;
          }
          Log("Bematech_FI_CancelaCupom");
          ++cancellations();
          // With boFechaCupom false this cannot cancel again.
          AnalisaRetorno(stEsquemaCor, code, false, false, false);
        }
        break;
    }
  }
  return result;
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool AnalisaRetorno(const std::string& stEsquemaCor, int inRetorno, bool boMsg, bool boFechaCupom,
                               bool boAbreCupom) {
  try {
    bool result = true;
    for (const kvr::CodeRow& row : kvr::kCodes) {
      if (row.code != inRetorno) continue;
      kvr::LogAndShow(kvr::Msg(row.key), boMsg, stEsquemaCor);
      result = false;
      break;
    }
    return kvr::ExamineStatus(kvr::Mode::Analysis, stEsquemaCor, boMsg, boFechaCupom, boAbreCupom, result);
  } catch (...) {
    kvr::Log("ERRO!!! AnalisaRetorno");
    return false;
  }
}

KVR_EXPORT bool ImpressoraOK(const std::string& stEsquemaCor, bool boMsg, bool boFechaCupom, bool boAbreCupom) {
  try {
    return kvr::ExamineStatus(kvr::Mode::StatusOnly, stEsquemaCor, boMsg, boFechaCupom, boAbreCupom, true);
  } catch (...) {
    kvr::Log("ERRO!!! ImpressoraOK");
    return false;
  }
}

KVR_EXPORT bool EstImpressora(const std::string& stEsquemaCor, bool boParam1, bool boParam2, bool boParam3) {
  return ImpressoraOK(stEsquemaCor, boParam1, boParam2, boParam3);
}

}  // extern "C"
