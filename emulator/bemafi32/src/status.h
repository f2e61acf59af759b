#pragma once
// Result codes and status bits of the printer's answers.

namespace emu {

enum Result : int {
  kOk = 1,
  kNoReply = 0,
  kExecutionError = -1,
  kInvalidParameter = -2,
  kRateNotProgrammed = -3,
  kIniFileMissing = -4,
  kPortError = -5,
  kPrinterOff = -6,
  kWriteError = -8,
  kFormNotProgrammed = -24,
  kTotalizerNotProgrammed = -25,
};

enum Ack : int { kAck = 6, kNak = 21 };

enum St1 : int {
  kParameterCount = 1,
  kCouponOpen = 2,
  kUnknownCommand = 4,
  kSyntaxError = 8,
  kPrinterError = 16,
  kClockError = 32,
  kPaperNearEnd = 64,
  kPaperOut = 128,
};

enum St2 : int {
  kNotExecuted = 1,
  kOwnerNotProgrammed = 2,
  kCancelNotAllowed = 4,
  kRatesFull = 8,
  kRateNotProgrammedBit = 16,
  kMemoryError = 32,
  kMemoryFull = 64,
  kWrongParameterType = 128,
};

struct Status {
  int ack = kAck, st1 = 0, st2 = 0;
};

}  // namespace emu
