// Status, flags, drawer and the value buffers the printer fills.
#include <cstring>

#include "printer.h"

namespace emu {

int Printer::write_value(char* buffer, const std::string& value, std::size_t width) {
  if (!buffer) return kInvalidParameter;
  // Exactly `width` characters, never past them: the caller pre-filled that many.
  std::string field = value.substr(0, width);
  field.resize(width, ' ');
  std::memcpy(buffer, field.data(), width);
  return kOk;
}

int Printer::verify_state(int* ack, int* st1, int* st2) {
  if (!ack || !st1 || !st2) return kInvalidParameter;
  finish_status();
  *ack = status_.ack;
  *st1 = status_.st1;
  *st2 = status_.st2;
  return kOk;
}

int Printer::printer_on() { return kOk; }

int Printer::extended_status(int* status) {
  if (!status) return kInvalidParameter;
  if (state_.faults.extended_status >= 0) {
    *status = state_.faults.extended_status;
    return kOk;
  }
  int value = 0;
  if (state_.faults.paper == 1) value |= 1;
  if (state_.document == Document::Coupon) value |= 2;
  if (state_.document == Document::LinkedReceipt || state_.document == Document::ManagementReport ||
      state_.document == Document::BillCheck)
    value |= 4;
  *status = value;
  return kOk;
}

int Printer::fiscal_flags(int* flags) {
  if (!flags) return kInvalidParameter;
  if (state_.faults.fiscal_flags >= 0) {
    *flags = state_.faults.fiscal_flags;
    return kOk;
  }
  int value = 0;
  if (state_.document == Document::Coupon) {
    value |= 1;
    if (state_.coupon.phase != CouponPhase::Items) value |= 2;
  }
  if (state_.daylight_saving) value |= 4;
  if (!state_.z_date.empty() && state_.movement_date == "000000") {
    Status before = status_;
    if (day_blocked()) value |= 8;  // the day has been reduced
    status_ = before;
  }
  if (state_.last_coupon_cancellable || state_.document == Document::Coupon) value |= 32;
  *flags = value;
  return kOk;
}

int Printer::open_drawer() {
  state_.drawer_open = true;
  changed();
  return kOk;
}

int Printer::drawer_state(int* state) {
  if (!state) return kInvalidParameter;
  *state = state_.drawer_open ? 1 : 0;
  return kOk;
}

}  // namespace emu
