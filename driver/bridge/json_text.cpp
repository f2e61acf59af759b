#include "bridge/json_text.h"

#include <stdexcept>

#include "platform/numbers.h"

namespace kvr::bridge {
namespace {

// The library's own tree builder, with floating numbers re-read from their
// text by the platform (the library's reader goes through the C locale) and a
// bound on nesting.
class Builder {
 public:
  explicit Builder(Json& root) : dom_(root, true) {}
  bool null() { return dom_.null(); }
  bool boolean(bool v) { return dom_.boolean(v); }
  bool number_integer(Json::number_integer_t v) { return dom_.number_integer(v); }
  bool number_unsigned(Json::number_unsigned_t v) { return dom_.number_unsigned(v); }
  bool number_float(Json::number_float_t, const Json::string_t& token) {
    // The library hands over its token with the C locale's decimal mark in
    // place of the point: whatever is not a digit, sign or exponent is it.
    std::string text;
    for (char c : token) {
      const bool kept = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E';
      if (kept) text += c;
      else if (text.empty() || text.back() != '.') text += '.';
    }
    const auto value = platform::parse_decimal(text);
    if (!value) throw std::invalid_argument("the number " + text + " is out of range");
    return dom_.number_float(*value, text);
  }
  bool string(Json::string_t& v) { return dom_.string(v); }
  bool binary(Json::binary_t& v) { return dom_.binary(v); }
  bool start_object(std::size_t n) { return Deeper() && dom_.start_object(n); }
  bool key(Json::string_t& k) { return dom_.key(k); }
  bool end_object() { --depth_; return dom_.end_object(); }
  bool start_array(std::size_t n) { return Deeper() && dom_.start_array(n); }
  bool end_array() { --depth_; return dom_.end_array(); }
  template <class Exception>
  bool parse_error(std::size_t, const std::string&, const Exception& e) {
    throw std::invalid_argument(e.what());
  }

 private:
  bool Deeper() {
    if (++depth_ > kMaxJsonDepth)
      throw std::invalid_argument("arrays and objects nest deeper than " + platform::to_text(kMaxJsonDepth) + " levels");
    return true;
  }
  nlohmann::detail::json_sax_dom_parser<Json> dom_;
  int depth_ = 0;
};

}  // namespace

Json ParseJson(std::string_view text) {
  Json root;
  Builder builder(root);
  Json::sax_parse(text.begin(), text.end(), &builder);
  return root;
}

std::string DumpJson(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::optional<std::string> Utf8ToLatin1Strict(std::string_view utf8, char32_t* outside) {
  std::string latin1;
  latin1.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      latin1 += static_cast<char>(lead);
    } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
      latin1 += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      if (outside) {
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t code = lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
          code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        *outside = code;
      }
      return std::nullopt;
    }
  }
  return latin1;
}

}  // namespace kvr::bridge
