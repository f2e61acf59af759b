#include "text_attributes.h"

namespace mp2032 {
namespace {

constexpr char kEsc = 0x1B;

struct Switch {
  int TextAttributes::*flag;
  std::string_view on, off;
};

// In the order they are switched on; switched off in reverse.
constexpr Switch kSwitches[] = {
    {&TextAttributes::italic, "\x1B" "4", "\x1B" "5"},
    {&TextAttributes::underline, std::string_view("\x1B-\x01", 3), std::string_view("\x1B-\x00", 3)},
    {&TextAttributes::expanded, std::string_view("\x1BW\x01", 3), std::string_view("\x1BW\x00", 3)},
    {&TextAttributes::bold, "\x1B" "E", "\x1B" "F"},
};

std::optional<std::string_view> letter_type_code(int letter_type) {
  static constexpr char kCondensed[] = {0x0F};
  static constexpr char kNormal[] = {0x12};
  static constexpr char kElite[] = {kEsc, 'M'};
  switch (letter_type) {
    case 1: return std::string_view(kCondensed, 1);
    case 2: return std::string_view(kNormal, 1);
    case 3: return std::string_view(kElite, 2);
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> formatted_text(std::string_view text, const TextAttributes& attributes) {
  auto letter = letter_type_code(attributes.letter_type);
  if (!letter) return std::nullopt;
  for (const Switch& s : kSwitches)
    if (attributes.*s.flag != 0 && attributes.*s.flag != 1) return std::nullopt;
  std::string bytes(*letter);
  for (const Switch& s : kSwitches)
    if (attributes.*s.flag) bytes += s.on;
  bytes += text;
  for (auto s = std::rbegin(kSwitches); s != std::rend(kSwitches); ++s)
    if (attributes.*s->flag) bytes += s->off;
  return bytes;
}

}  // namespace mp2032
