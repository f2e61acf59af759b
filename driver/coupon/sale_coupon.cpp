// The coupon of a printed sale: opened and closed with the records and the
// positional slots that this sequence fills itself.
#include <optional>
#include <vector>

#include "core/debug_log.h"
#include "core/dialogs.h"
#include "core/printer_figures.h"
#include "coupon/opened_coupon.h"
#include "coupon/sale_repeat.h"
#include "coupon/sale_sequence.h"
#include "hostrt/params.h"
#include "hostrt/services.h"
#include "kvr00102/kvr00102.h"
#include "platform/latin1.h"

namespace kvr {
namespace {

// Slots 0 to 41; slot 42 is not passed, so the closing takes the coupon
// number as empty. No discount or surcharge, no TEF, no messages from the
// return analysis, no receipt after the coupon, the plain footer.
std::vector<hostrt::Variant> ClosingSlots(const SaleValues& v, const SaleDatasets& d) {
  std::vector<hostrt::Variant> slots(42);
  slots[0] = v.stTotParcCV;
  slots[1] = v.stNrLaudo;
  slots[2] = v.stEsquemaCor;
  slots[3] = 0;
  slots[4] = false;
  slots[5] = false;
  slots[6] = 0;
  slots[7] = 0;
  slots[8] = 0;
  slots[10] = v.stDsObsCupFis;
  slots[11] = false;
  slots[13] = d.cdsMovi.Data();
  slots[14] = d.cdsRecebimento.Data();
  slots[22] = v.stCdOperador;
  slots[23] = v.stNmOperador;
  slots[31] = v.stSenhaCupom;
  slots[37] = 0;
  slots[38] = 0;
  return slots;
}

}  // namespace

bool OpenSaleCoupon(const SaleValues& v) {
  hostrt::Variant record = hostrt::MakeParams({{"ESQUEMACOR", v.stEsquemaCor}, {"INTEFERRO", 0}});
  return AbreCupom(record);
}

bool CloseSaleCoupon(const SaleValues& v, const SaleDatasets& d, bool log_total) {
  const std::vector<hostrt::Variant> slots = ClosingSlots(v, d);
  return RepeatWithOperator(v, "FechaCupom", [&] {
    hostrt::Variant result = hostrt::Variant::Array(0, 9);
    const bool closed = FechaCupom(slots.data(), static_cast<int>(slots.size()) - 1, nullptr, result);
    if (log_total) Log("Total da Compra Total");
    return closed;
  });
}

std::string SaleCouponNumber(const SaleValues& v) {
  if (const std::optional<long long> coo = OpenedCoupon()) return CouponNumberText(*coo);
  // A read is safe to repeat; it must not cancel anything, the coupon is closed.
  for (int attempt = 0; attempt < 3; ++attempt)
    if (const std::optional<long long> coo = ReadCouponCounter()) return CouponNumberText(*coo);
  Log(platform::L1("ERRO!!! ImpressaoVenda: número do cupom ilegível"));
  Notice(platform::L1("O cupom foi impresso, mas o seu número não pôde ser lido."), hostrt::kErrorOrRetry,
         v.stEsquemaCor);
  return "ERRO";
}

std::string RefusedSale(const SaleValues& v, const std::string& why) {
  Log("ERRO!!! ImpressaoVenda: " + why);
  Notice(platform::L1("Venda não impressa: ") + why, hostrt::kErrorOrRetry, v.stEsquemaCor);
  return kSaleError;
}

void LogTicketException(const char* what, const char* error) {
  Log(std::string("ERRO!!! ImpressaoVenda: ") + what + ": " + error);
}

}  // namespace kvr
