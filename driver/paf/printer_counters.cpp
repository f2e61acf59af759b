// The printer's counters, totals and identification values, each read into a
// buffer of its own width and handed back as the printer wrote it.
#include <algorithm>
#include <string>

#include "core/debug_log.h"
#include "core/printer_call.h"
#include "hostrt/datetime.h"
#include "hostrt/format.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"
#include "platform/ascii.h"
#include "platform/numbers.h"

namespace kvr {
namespace {

// Pre-fills `out` with `width` blanks, reads the value into it, logs it and
// returns the verdict. No exception guard: a failure reaches the caller.
bool ReadCounter(const std::string& colour, const Slot<int(char*)>& slot, std::size_t width, std::string& out,
                 Analysis flags = kCounterRead) {
  out = std::string(width, ' ');  // what a call that raises leaves
  const ReplyResult reply = ReadReply(colour, flags, slot, slot.name, width);
  out = reply.value;
  return reply.ok;
}

// The reductions counter as the number the next reduction will carry, four
// digits; a blank answer counts as none made. Anything else raises.
std::string NextReduction(const std::string& answer) {
  const std::string digits = hostrt::Trim(answer);
  if (digits.empty()) return hostrt::Ajusta("0", 4);
  const auto count = std::all_of(digits.begin(), digits.end(), [](char c) { return platform::ascii::is_digit(c); })
                         ? platform::parse_integer(digits)
                         : std::nullopt;
  if (!count) throw hostrt::EConvertError("'" + answer + "' is not a valid integer value");
  return hostrt::Ajusta(hostrt::IntToStr(*count + 1), 4);
}

}  // namespace
}  // namespace kvr

extern "C" {

// operation(stEsquemaCor, out text): out text, entry point, buffer width.
#define KVR_COUNTER(operation, out, entry_point, width)                         \
  KVR_EXPORT bool operation(const std::string& stEsquemaCor, std::string& out) { \
    return kvr::ReadCounter(stEsquemaCor, entry_point, width, out);              \
  }
KVR_COUNTER(ContadorCupomFiscalMFD, stCupom, Bematech_FI_ContadorCupomFiscalMFD, 6)
KVR_COUNTER(NumeroSubstituicoesProprietario, stSubstituicoes, Bematech_FI_NumeroSubstituicoesProprietario, 4)
KVR_COUNTER(NumeroOperacoesNaoFiscais, stOperacoes, Bematech_FI_NumeroOperacoesNaoFiscais, 6)
KVR_COUNTER(VendaBruta, stVendaBruta, Bematech_FI_VendaBruta, 18)
KVR_COUNTER(Descontos, stDescontos, Bematech_FI_Descontos, 14)
KVR_COUNTER(Cancelamentos, stCancelamentos, Bematech_FI_Cancelamentos, 14)
KVR_COUNTER(NumeroIntervencoes, stIntervencoes, Bematech_FI_NumeroIntervencoes, 4)
KVR_COUNTER(ContadorRelatoriosGerenciaisMFD, stRelatorios, Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6)
KVR_COUNTER(ContadorComprovantesCreditoMFD, stComprovante, Bematech_FI_ContadorComprovantesCreditoMFD, 6)
#undef KVR_COUNTER

KVR_EXPORT bool Versao_Software_Basico(const std::string& stEsquemaCor, std::string& stVersaoFirmware) {
  return kvr::ReadCounter(stEsquemaCor, Bematech_FI_VersaoFirmwareMFD, 6, stVersaoFirmware, kvr::kShowErrors);
}

KVR_EXPORT bool NumeroReducoes(const std::string& stEsquemaCor, std::string& stReducoes) {
  kvr::Reply reply(4);
  stReducoes = std::string(4, ' ');
  const kvr::CallResult result = kvr::CallPrinter(
      stEsquemaCor, kvr::kCounterRead, Bematech_FI_NumeroReducoes,
      [&] {
        stReducoes = kvr::NextReduction(reply.Text());
        return kvr::ReplyLine(Bematech_FI_NumeroReducoes.name, stReducoes);
      },
      reply.data());
  return result.ok;
}

KVR_EXPORT std::string Codigo_Nacional_ECF(int /*IdTipoImpFis*/, const std::string& /*stParam*/) { return "000000"; }

// The slot is filled only when the vendor library has the entry point; without
// it the three texts stay blank and the answer is False.
KVR_EXPORT bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& /*stParam*/,
                                                           std::string& stDataHoraUsuario,
                                                           std::string& stDataHoraSWBasico,
                                                           std::string& stMFAdicional) {
  kvr::Reply user(20), software(20), additional(5);
  const auto log_line = [&] {
    stDataHoraUsuario = user.Text();
    stDataHoraSWBasico = software.Text();
    stMFAdicional = additional.Text();
    return kvr::ReplyLine(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional.name,
                            stDataHoraUsuario + " - " + stDataHoraSWBasico + " - " + stMFAdicional);
  };
  if (!Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional.Bound()) {
    kvr::Log(log_line());
    return false;
  }
  return kvr::CallPrinter("", kvr::kCounterRead, Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, log_line,
                          user.data(), software.data(), additional.data())
      .ok;
}

}  // extern "C"
