#pragma once
// The EAD record of a text file: where it is, what it signs, making and
// checking it.
#include <optional>
#include <string>
#include <string_view>

#include <openssl/bn.h>

namespace sign_bema {

// A file's text split at its EAD record: the signed content (up to and
// including the line break before the record) and the record's 256 digits,
// when the last line is "EAD" + 256 hex digits (with or without a final line
// break).
struct SignedText {
  std::string_view content;
  std::optional<std::string_view> digits;
};
SignedText split_signed(std::string_view text);

// The 256 upper-case digits of the EAD of content; nullopt when the key
// cannot sign (the block is not smaller than the modulus).
std::optional<std::string> make_ead(std::string_view content, const BIGNUM* modulus, const BIGNUM* private_exponent);

// True when digits are the EAD of content under the public key.
bool check_ead(std::string_view content, std::string_view digits, const BIGNUM* modulus);

// The content to sign: the text without its EAD record, with a line break
// added when its last line has none, in the text's own line-break style (CR LF
// when it has none). Empty stays empty.
std::string signable_content(std::string_view content);

// Appends "EAD" + digits and a line break in the content's style.
std::string append_ead_record(std::string content, std::string_view digits);

}  // namespace sign_bema
