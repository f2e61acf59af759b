#pragma once
// The printer's clock: the computer's local time (or a fixed time set by a
// test) plus an offset. Times are "civil seconds": seconds since 1970 of the
// local wall-clock reading, so no time zone arithmetic is ever applied twice.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emu {

struct CivilTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

std::int64_t to_seconds(const CivilTime& time);
CivilTime from_seconds(std::int64_t seconds);
std::int64_t day_number(std::int64_t seconds);  // whole days since 1970

// "ddmmyyyyhhmmss" (14 digits) or "ddmmyyyy" (8 digits, midnight); nothing when malformed or impossible.
std::optional<std::int64_t> parse_clock_text(std::string_view text);
// "ddmmyy" -> seconds at midnight; the century is 2000.
std::optional<std::int64_t> parse_short_date(std::string_view text);

// A date of a reading or download range: "ddmmyy", "ddmmyyyy", "dd/mm/yy" or "dd/mm/yyyy".
std::optional<std::int64_t> range_date(std::string_view text);

std::string ddmmyy(std::int64_t seconds);
std::string ddmmyyyy(std::int64_t seconds);
std::string hhmmss(std::int64_t seconds);
std::string printed_date_time(std::int64_t seconds);  // "dd/mm/yyyy hh:mm:ss"

// Whether the computer's local time is daylight-saving time now.
bool system_daylight_saving();
// The computer's local standard time now: its local time less the
// daylight-saving hour while that is in force.
std::int64_t system_standard_now();

}  // namespace emu
