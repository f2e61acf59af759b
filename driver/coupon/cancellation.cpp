// Undoing sales: an item by its number, the last item, the current or last
// coupon (with the grand-total record refreshed).
#include <exception>

#include "core/debug_log.h"
#include "core/effect_checks.h"
#include "core/printer_figures.h"
#include "core/printer_status.h"
#include "platform/numbers.h"
#include "core/printer_call.h"
#include "coupon/coupon_figures.h"
#include "coupon/coupon_number.h"
#include "coupon/positional_args.h"
#include "hostrt/format.h"
#include "hostrt/params.h"
#include "hostrt/text.h"
#include "kvr00102/kvr00102.h"

namespace kvr {
namespace {

// Whether the cancellation took effect, told from the number read just before
// it, so no further read is needed: an open coupon is no longer open, and the
// cancellation of the last coupon is a document of its own with the next COO.
EffectCheck CancellationSeen(const std::string& number_before) {
  const bool was_open = (LastStatus().st1 & kCouponOpenBit) != 0;
  const std::optional<long long> before = platform::parse_integer(hostrt::Trim(number_before));
  return {{}, [was_open, before] {
            if (was_open) {
              const std::optional<int> flags = ReadFiscalFlags();
              if (!flags) return Effect::kUnknown;
              return (*flags & kFlagCouponOpen) ? Effect::kNotExecuted : Effect::kExecuted;
            }
            const std::optional<long long> after = ReadCouponCounter();
            if (!before || !after) return Effect::kUnknown;
            return *after > *before ? Effect::kExecuted : Effect::kNotExecuted;
          }};
}

}  // namespace
}  // namespace kvr

extern "C" {

KVR_EXPORT bool Cancela_ItGenerico(const std::string& stEsquemaCor, const std::string& stNrSeq,
                                   const std::wstring& /*TaxaIva*/, const std::wstring& /*Qualificador*/,
                                   const std::wstring& /*QtdeCultos*/, const std::wstring& /*ImposInterPerc*/,
                                   const std::wstring& /*ImpostoInterFixo*/, const std::wstring& /*stTipoTicket*/,
                                   const std::wstring& /*stParam*/, double /*doQtda*/, double /*doValor*/) {
  try {
    // The host keeps five digits (00012); the printer takes the last four.
    const std::string item = stNrSeq.size() > 1 ? stNrSeq.substr(1, 4) : std::string();
    kvr::CouponFigures::OfOpenedCoupon().ItemCancelled();
    return kvr::VerifiedCall(kvr::ItemCancelled(), Bematech_FI_AnulaArticuloGenerico, [&] {
             return kvr::CallPrinter(stEsquemaCor, kvr::kSilent, Bematech_FI_AnulaArticuloGenerico,
                                     "Bematech_FI_AnulaArticuloGenerico : " + item, item.c_str());
           })
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Cancela_ItGenerico: ") + error.what());
    return false;
  }
}

KVR_EXPORT bool Cancela_UltimoItem(const std::string& stEsquemaCor) {
  try {
    kvr::CouponFigures::OfOpenedCoupon().ItemCancelled();
    return kvr::VerifiedCall(kvr::ItemCancelled(), Bematech_FI_AnulaArticuloAnterior, [&] {
             return kvr::CallPrinter(stEsquemaCor, kvr::kShowErrors, Bematech_FI_AnulaArticuloAnterior,
                                     "TBematech_FI_AnulaArticuloAnterior");
           })
        .ok;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Cancela_UltimoItem: ") + error.what());
    return false;
  }
}

KVR_EXPORT bool Cancela_Cupom_Imp(const hostrt::Variant* arParams, int arParams_High, hostrt::Variant& oleRetorno) {
  try {
    const kvr::PositionalArgs args(arParams, arParams_High);
    const std::string stEsquemaCor = args.Text(0);
    const kvr::Analysis flags{args.Boolean(1), args.Boolean(2), false};
    const std::string stCdFilial = args.Text(4);
    const std::string stCdCaixa = args.Text(5);
    const std::string stNrSerie = args.Text(6);

    std::string stNrCupom;
    bool result = false;
    // The number is read as Nr_Cupom reads it, except that a coupon found open
    // is left to the cancellation below: had the read cancelled it, the
    // cancellation would be refused and a cancelled coupon reported as a failure.
    const std::string number = kvr::ReadCouponNumber(stEsquemaCor, kvr::kSilent);
    if (hostrt::UpperCase(number) != "ERRO") {
      stNrCupom = hostrt::Ajusta(hostrt::IntToStr(hostrt::StrToInt(hostrt::Trim(number))), 6);
      result = kvr::VerifiedCall(kvr::CancellationSeen(number), Bematech_FI_AnulaCupon, [&] {
                 return kvr::CallPrinter(stEsquemaCor, flags, Bematech_FI_AnulaCupon, "Bematech_FI_AnulaCupon");
               }).ok;
    }
    kvr::SetResultElement(oleRetorno, 0, stNrCupom);
    Atu_TotGeral(hostrt::MakeParams({{"CDFILIAL", stCdFilial},
                                     {"CDCAIXA", stCdCaixa},
                                     {"NRSERIEIMP", stNrSerie},
                                     {"ESQUEMACOR", stEsquemaCor},
                                     {"IDVALIDA", "N"}}));
    return result;
  } catch (const std::exception& error) {
    kvr::Log(std::string("ERRO!!! Cancela_Cupom_Imp: ") + error.what());
    return false;
  }
}

}  // extern "C"
