#include "ead_check.h"

#include <openssl/bn.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "test_support/temp_environment.h"

namespace paf_test {
namespace {

struct BnFree {
  void operator()(BIGNUM* n) const { BN_free(n); }
};
using Bn = std::unique_ptr<BIGNUM, BnFree>;

Bn FromHex(const std::string& hex) {
  BIGNUM* n = nullptr;
  if (BN_hex2bn(&n, hex.c_str()) != static_cast<int>(hex.size())) {
    BN_free(n);
    return nullptr;
  }
  return Bn(n);
}

}  // namespace

bool EadHolds(const std::string& path, const std::string& public_key_hex) {
  std::string text = test_support::read_file_or_empty(path);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const std::size_t line_start = text.find_last_of('\n') + 1;  // npos + 1 == 0
  if (line_start == 0) return false;
  const std::string record = text.substr(line_start);
  if (record.size() != 259 || record.compare(0, 3, "EAD") != 0) return false;

  unsigned char digest[16];
  EVP_Digest(text.data(), line_start, digest, nullptr, EVP_md5(), nullptr);
  std::vector<unsigned char> block(128, 0);
  block[0] = 0x10;
  for (int i = 0; i < 16; ++i) block[1 + i] = digest[i];

  const Bn signature = FromHex(record.substr(3));
  const Bn modulus = FromHex(public_key_hex);
  if (!signature || !modulus) return false;
  Bn exponent(BN_new()), opened(BN_new());
  BN_set_word(exponent.get(), 65537);
  std::unique_ptr<BN_CTX, decltype(&BN_CTX_free)> context(BN_CTX_new(), BN_CTX_free);
  if (!BN_mod_exp(opened.get(), signature.get(), exponent.get(), modulus.get(), context.get())) return false;
  std::vector<unsigned char> bytes(128);
  if (BN_bn2binpad(opened.get(), bytes.data(), 128) != 128) return false;
  return bytes == block;
}

}  // namespace paf_test
