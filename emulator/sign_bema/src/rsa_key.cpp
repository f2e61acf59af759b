#include "rsa_key.h"

#include <stdexcept>

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include "platform/ascii.h"

namespace sign_bema {
namespace {

struct ContextDeleter {
  void operator()(BN_CTX* context) const { BN_CTX_free(context); }
};
struct KeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

Bignum key_parameter(const EVP_PKEY* key, const char* name) {
  BIGNUM* number = nullptr;
  if (EVP_PKEY_get_bn_param(key, name, &number) != 1) throw std::runtime_error("cannot read the new RSA key");
  return Bignum(number);
}

}  // namespace

std::optional<Bignum> parse_hex_number(std::string_view text) {
  if (text.size() != kKeyDigits) return std::nullopt;
  for (char c : text)
    if (!platform::ascii::is_xdigit(c)) return std::nullopt;
  BIGNUM* number = nullptr;
  const std::string digits(text);
  if (BN_hex2bn(&number, digits.c_str()) != static_cast<int>(kKeyDigits)) {
    BN_free(number);
    return std::nullopt;
  }
  Bignum result(number);
  if (BN_is_zero(result.get())) return std::nullopt;
  return result;
}

std::string key_text(const BIGNUM* number) {
  Block bytes{};
  BN_bn2binpad(number, bytes.data(), static_cast<int>(bytes.size()));
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(kKeyDigits);
  for (std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::optional<Block> raw_rsa(const Block& block, const BIGNUM* exponent, const BIGNUM* modulus, bool secret_exponent) {
  if (BN_num_bytes(modulus) > static_cast<int>(kBlockBytes) || !BN_is_odd(modulus)) return std::nullopt;
  Bignum message(BN_bin2bn(block.data(), static_cast<int>(block.size()), nullptr));
  Bignum result(BN_new());
  std::unique_ptr<BN_CTX, ContextDeleter> context(BN_CTX_new());
  if (!message || !result || !context) throw std::bad_alloc();
  if (BN_cmp(message.get(), modulus) >= 0) return std::nullopt;
  const int done = secret_exponent
                       ? BN_mod_exp_mont_consttime(result.get(), message.get(), exponent, modulus, context.get(), nullptr)
                       : BN_mod_exp(result.get(), message.get(), exponent, modulus, context.get());
  if (done != 1) return std::nullopt;
  Block out{};
  BN_bn2binpad(result.get(), out.data(), static_cast<int>(out.size()));
  return out;
}

KeyPair generate_key_pair() {
  std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_RSA_gen(8 * kBlockBytes));
  if (!key) throw std::runtime_error("cannot generate an RSA key");
  Bignum modulus = key_parameter(key.get(), OSSL_PKEY_PARAM_RSA_N);
  Bignum exponent = key_parameter(key.get(), OSSL_PKEY_PARAM_RSA_E);
  Bignum private_exponent = key_parameter(key.get(), OSSL_PKEY_PARAM_RSA_D);
  if (!BN_is_word(exponent.get(), kPublicExponent)) throw std::runtime_error("unexpected RSA public exponent");
  return {key_text(modulus.get()), key_text(private_exponent.get())};
}

}  // namespace sign_bema
