#include "ead.h"

#include <openssl/evp.h>

#include "rsa_key.h"

namespace sign_bema {
namespace {

constexpr std::string_view kTag = "EAD";
constexpr std::uint8_t kBlockMarker = 0x10;

Block hash_block(std::string_view content) {
  Block block{};
  block[0] = kBlockMarker;
  unsigned int length = 0;
  if (EVP_Digest(content.data(), content.size(), block.data() + 1, &length, EVP_md5(), nullptr) != 1 || length != 16)
    throw std::runtime_error("MD5 is not available");
  return block;
}

// The file's own line break: that of its first line, CR LF when it has none.
std::string_view line_break_of(std::string_view content) {
  const std::size_t newline = content.find('\n');
  const bool lf_only = newline != std::string_view::npos && (newline == 0 || content[newline - 1] != '\r');
  return lf_only ? "\n" : "\r\n";
}

}  // namespace

SignedText split_signed(std::string_view text) {
  std::string_view body = text;
  if (body.ends_with('\n')) body.remove_suffix(1);
  if (body.ends_with('\r')) body.remove_suffix(1);
  const std::size_t newline = body.rfind('\n');
  const std::size_t line_start = newline == std::string_view::npos ? 0 : newline + 1;
  std::string_view last_line = body.substr(line_start);
  if (last_line.size() == kTag.size() + kKeyDigits && last_line.starts_with(kTag) &&
      last_line.find_first_not_of("0123456789abcdefABCDEF", kTag.size()) == std::string_view::npos)
    return {text.substr(0, line_start), last_line.substr(kTag.size())};
  return {text, std::nullopt};
}

std::optional<std::string> make_ead(std::string_view content, const BIGNUM* modulus, const BIGNUM* private_exponent) {
  auto signature = raw_rsa(hash_block(content), private_exponent, modulus, true);
  if (!signature) return std::nullopt;
  Bignum number(BN_bin2bn(signature->data(), static_cast<int>(signature->size()), nullptr));
  if (!number) throw std::bad_alloc();
  return key_text(number.get());
}

bool check_ead(std::string_view content, std::string_view digits, const BIGNUM* modulus) {
  auto signature = parse_hex_number(digits);
  if (!signature || BN_cmp(signature->get(), modulus) >= 0) return false;
  Block signature_block{};
  BN_bn2binpad(signature->get(), signature_block.data(), static_cast<int>(signature_block.size()));
  Bignum exponent(BN_new());
  if (!exponent || BN_set_word(exponent.get(), kPublicExponent) != 1) throw std::bad_alloc();
  auto recovered = raw_rsa(signature_block, exponent.get(), modulus, false);
  return recovered && *recovered == hash_block(content);
}

std::string signable_content(std::string_view content) {
  std::string text(content);
  if (!text.empty() && !text.ends_with('\n')) text += line_break_of(content);
  return text;
}

std::string append_ead_record(std::string content, std::string_view digits) {
  const std::string_view line_break = line_break_of(content);
  content += kTag;
  content += digits;
  content += line_break;
  return content;
}

}  // namespace sign_bema
