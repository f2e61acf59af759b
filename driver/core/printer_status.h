// The printer's three status bytes of the last command.
#pragma once

namespace kvr {

struct StatusBytes {
  int ack = 0;  // 21 (NAK) when the printer refused the command
  int st1 = 0;
  int st2 = 0;
  bool read = false;  // the return analysis could read the bytes
};

// The bytes as last read by the return analysis or a status query.
StatusBytes& LastStatus();

inline constexpr int kNak = 21;
// ST1 bit 1: a fiscal coupon is open.
inline constexpr int kCouponOpenBit = 2;
// ST1 bit 7: the paper is out; the printer may have printed the command on
// the last of it.
inline constexpr int kPaperOutBit = 128;

// How many open coupons the return analysis has cancelled in this process, so
// that an operation can tell whether one was cancelled on its way.
int CouponsCancelledByAnalysis();

}  // namespace kvr
