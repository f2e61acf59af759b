// The signing library's entry points.
#include <cstring>
#include <stdexcept>

#include <platform/files.h>
#include <platform/paths.h>
#include <vendor_api/guarded.h>

#include "ead.h"
#include "rsa_key.h"
#include "sign_bema/sign_bema.h"

namespace {

constexpr int kOk = 1;
constexpr int kFileError = 0;
constexpr int kMissingArgument = -1;
constexpr int kBadKey = -2;
constexpr int kNoEad = -3;
constexpr int kEadMismatch = -4;
constexpr int kUnknownType = -5;

void copy_digits(const std::string& digits, char* out) {
  std::memcpy(out, digits.data(), sign_bema::kKeyDigits);
  out[sign_bema::kKeyDigits] = '\0';
}

}  // namespace

extern "C" {

VENDOR_EXPORT int VENDOR_CALL setLibType(int type) {
  return type == 0 || type == 1 ? kOk : kUnknownType;
}

VENDOR_EXPORT int VENDOR_CALL genkkey(char* public_key, char* private_key) {
  if (!public_key || !private_key) return kMissingArgument;
  return vendor_api::guarded(kFileError, [&] {
    sign_bema::KeyPair pair = sign_bema::generate_key_pair();
    copy_digits(pair.public_key, public_key);
    copy_digits(pair.private_key, private_key);
    return kOk;
  });
}

VENDOR_EXPORT int VENDOR_CALL generateEAD(const char* file_name, const char* public_key, const char* private_key,
                                          char* ead, int write_record) {
  if (!file_name || !public_key || !private_key) return kMissingArgument;
  return vendor_api::guarded(kFileError, [&] {
    auto modulus = sign_bema::parse_hex_number(public_key);
    auto exponent = sign_bema::parse_hex_number(private_key);
    if (!modulus || !exponent) return kBadKey;
    const std::string path = platform::native_path(file_name);
    const std::string text = platform::read_file(path);
    const std::string content = sign_bema::signable_content(sign_bema::split_signed(text).content);
    auto digits = sign_bema::make_ead(content, modulus->get(), exponent->get());
    // A private key that does not belong to the public key would write a
    // signature that never verifies: refuse it instead.
    if (!digits || !sign_bema::check_ead(content, *digits, modulus->get())) return kBadKey;
    if (write_record) platform::write_file_atomic(path, sign_bema::append_ead_record(content, *digits));
    if (ead) copy_digits(*digits, ead);
    return kOk;
  });
}

VENDOR_EXPORT int VENDOR_CALL validateFile(const char* file_name, const char* public_key) {
  if (!file_name || !public_key) return kMissingArgument;
  return vendor_api::guarded(kFileError, [&] {
    auto modulus = sign_bema::parse_hex_number(public_key);
    if (!modulus) return kBadKey;
    const std::string text = platform::read_file(platform::native_path(file_name));
    const sign_bema::SignedText parts = sign_bema::split_signed(text);
    if (!parts.digits) return kNoEad;
    return sign_bema::check_ead(parts.content, *parts.digits, modulus->get()) ? kOk : kEadMismatch;
  });
}

}  // extern "C"
