#pragma once
// 1024-bit RSA key material as the library's 256-digit hexadecimal texts, and
// the raw RSA operations on one 128-byte block.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <openssl/bn.h>

namespace sign_bema {

inline constexpr std::size_t kBlockBytes = 128;
inline constexpr std::size_t kKeyDigits = 2 * kBlockBytes;
inline constexpr unsigned long kPublicExponent = 65537;

using Block = std::array<std::uint8_t, kBlockBytes>;

struct BignumDeleter {
  void operator()(BIGNUM* number) const { BN_clear_free(number); }
};
using Bignum = std::unique_ptr<BIGNUM, BignumDeleter>;

// Exactly 256 hex digits (either case) as a number; nullopt for
// anything else, or for zero.
std::optional<Bignum> parse_hex_number(std::string_view text);

// A number as 256 upper-case hex digits, zero-filled on the left.
std::string key_text(const BIGNUM* number);

// block^exponent mod modulus, as a block; nullopt when the block is not
// smaller than the modulus or the modulus is not a 1024-bit-or-less number.
std::optional<Block> raw_rsa(const Block& block, const BIGNUM* exponent, const BIGNUM* modulus, bool secret_exponent);

struct KeyPair {
  std::string public_key;   // modulus
  std::string private_key;  // private exponent
};
// A fresh 1024-bit pair with public exponent 65537; throws on failure.
KeyPair generate_key_pair();

}  // namespace sign_bema
