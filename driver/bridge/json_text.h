// JSON at the bridge's boundary: parsed and printed the same on every machine
// (numbers through the platform's locale-free helpers), UTF-8 outside and
// Latin-1 inside.
#pragma once
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace kvr::bridge {

// Object members keep the order they were written in.
using Json = nlohmann::ordered_json;

// The deepest nesting of arrays and objects a request may have.
inline constexpr int kMaxJsonDepth = 64;

// Parses a whole JSON text. Throws std::invalid_argument whose message says
// what is wrong and where (bad syntax, malformed UTF-8, a number out of range,
// nesting deeper than kMaxJsonDepth).
Json ParseJson(std::string_view text);

// Compact JSON text (valid UTF-8 throughout).
std::string DumpJson(const Json& value);

// UTF-8 (already well-formed) to Latin-1; nothing when a character lies
// outside Latin-1, whose code point then goes to *outside (e.g. 0x20AC).
std::optional<std::string> Utf8ToLatin1Strict(std::string_view utf8, char32_t* outside = nullptr);

}  // namespace kvr::bridge
