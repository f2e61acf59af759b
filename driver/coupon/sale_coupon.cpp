// The coupon of a printed sale: opened and closed with the records and the
// positional slots that this sequence fills itself.
#include <vector>

#include "coupon/sale_sequence.h"
#include "hostrt/params.h"
#include "kvr00102/kvr00102.h"

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

bool CloseSaleCoupon(const SaleValues& v, const SaleDatasets& d) {
  const std::vector<hostrt::Variant> slots = ClosingSlots(v, d);
  hostrt::Variant result = hostrt::Variant::Array(0, 9);
  return FechaCupom(slots.data(), static_cast<int>(slots.size()) - 1, nullptr, result);
}

}  // namespace kvr
