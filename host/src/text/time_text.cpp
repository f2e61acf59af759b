#include <chrono>
#include <cmath>
#include <string>
#include <thread>

#include "datetime/day_split.h"
#include "hostrt/services.h"
#include "hostrt/text.h"
#include "platform/numbers.h"

namespace hostrt {

std::string SubtDataHoraUlm(DateTime a, DateTime b) {
  // Rounded to the millisecond first, so binary noise in the date-times never
  // costs a minute; then whole minutes (seconds are dropped).
  const double days = a.value - b.value;
  if (!(std::fabs(days) < 1e7)) throw EConvertError("Invalid date-time difference: " + platform::shortest_text(days));
  const long long msec = std::llround(days * detail::kMSecsPerDay);
  const long long minutes = std::llabs(msec) / 60000;
  std::string hours = platform::to_text(minutes / 60);
  if (hours.size() < 2) hours.insert(0, "0");
  std::string out = msec < 0 && minutes > 0 ? "-" : "";
  out += hours + ":";
  if (minutes % 60 < 10) out += "0";
  return out + platform::to_text(minutes % 60);
}

void Delay(int milliseconds) {
  // A steady clock measures the pause: the wall clock may be fixed by a test.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0);
  do {
    Host().ProcessMessages();
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(10)));
  } while (true);
}

}  // namespace hostrt
