#include "hostrt/clock.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <optional>

namespace hostrt {

namespace {

struct ClockState {
  std::mutex mutex;
  std::optional<DateTime> fixed;
  double offset = 0.0;
};

ClockState& State() {
  static ClockState state;
  return state;
}

// The only read of the system clock in the project: local wall time.
DateTime SystemNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  const DateTime date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
  return DateTime{date.value + EncodeTime(local.tm_hour, local.tm_min, second, static_cast<int>(ms)).value};
}

}  // namespace

DateTime Now() {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  const DateTime base = s.fixed ? *s.fixed : SystemNow();
  return DateTime{base.value + s.offset};
}

DateTime Date() { return DateOf(Now()); }

void SetFixedNow(DateTime dt) {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  s.fixed = dt;
}

void SetClockOffset(double days) {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  s.offset = days;
}

void UseSystemClock() {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  s.fixed.reset();
  s.offset = 0.0;
}

}  // namespace hostrt
