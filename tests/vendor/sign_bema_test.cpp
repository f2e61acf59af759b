// The signing library, loaded with the real loader, checked against an
// independent MD5 + raw RSA computed here with OpenSSL.
#include <gtest/gtest.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "test_support/loaded_library.h"
#include "test_support/temp_environment.h"

namespace {

using test_support::read_file_or_empty;
using test_support::write_whole_file;

using GenKeyFn = int(char*, char*);
using GenerateFn = int(const char*, const char*, const char*, char*, int);
using ValidateFn = int(const char*, const char*);
using LibTypeFn = int(int);

constexpr std::size_t kDigits = 256;

struct PkeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyDeleter>;

std::string to_hex(const BIGNUM* number) {
  std::vector<unsigned char> bytes(kDigits / 2);
  BN_bn2binpad(number, bytes.data(), static_cast<int>(bytes.size()));
  std::string text;
  for (unsigned char byte : bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

std::vector<unsigned char> from_hex(const std::string& text) {
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back(static_cast<unsigned char>(std::stoi(text.substr(i, 2), nullptr, 16)));
  return bytes;
}

// The key pair as the library's texts, made here with OpenSSL.
struct TestKey {
  Pkey key;
  std::string modulus, private_exponent;
};

TestKey make_test_key() {
  TestKey result{Pkey(EVP_RSA_gen(1024)), {}, {}};
  BIGNUM* n = nullptr;
  BIGNUM* d = nullptr;
  EVP_PKEY_get_bn_param(result.key.get(), OSSL_PKEY_PARAM_RSA_N, &n);
  EVP_PKEY_get_bn_param(result.key.get(), OSSL_PKEY_PARAM_RSA_D, &d);
  result.modulus = to_hex(n);
  result.private_exponent = to_hex(d);
  BN_free(n);
  BN_clear_free(d);
  return result;
}

// A public key (n, e = 65537) from the modulus text.
Pkey public_key_from_text(const std::string& modulus_hex) {
  BIGNUM* n = nullptr;
  BN_hex2bn(&n, modulus_hex.c_str());
  BIGNUM* e = BN_new();
  BN_set_word(e, 65537);
  OSSL_PARAM_BLD* builder = OSSL_PARAM_BLD_new();
  OSSL_PARAM_BLD_push_BN(builder, OSSL_PKEY_PARAM_RSA_N, n);
  OSSL_PARAM_BLD_push_BN(builder, OSSL_PKEY_PARAM_RSA_E, e);
  OSSL_PARAM* params = OSSL_PARAM_BLD_to_param(builder);
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr);
  EVP_PKEY* key = nullptr;
  EVP_PKEY_fromdata_init(context);
  EVP_PKEY_fromdata(context, &key, EVP_PKEY_PUBLIC_KEY, params);
  EVP_PKEY_CTX_free(context);
  OSSL_PARAM_free(params);
  OSSL_PARAM_BLD_free(builder);
  BN_free(n);
  BN_free(e);
  return Pkey(key);
}

// Independent check: signature^e mod n must be 0x10, MD5(content), zeros.
bool independently_valid(const std::string& content, const std::string& ead_hex, const std::string& modulus_hex) {
  Pkey key = public_key_from_text(modulus_hex);
  std::vector<unsigned char> signature = from_hex(ead_hex);
  std::vector<unsigned char> recovered(128);
  std::size_t length = recovered.size();
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(key.get(), nullptr);
  bool ok = EVP_PKEY_encrypt_init(context) == 1 && EVP_PKEY_CTX_set_rsa_padding(context, RSA_NO_PADDING) == 1 &&
            EVP_PKEY_encrypt(context, recovered.data(), &length, signature.data(), signature.size()) == 1;
  EVP_PKEY_CTX_free(context);
  if (!ok || length != 128) return false;
  std::vector<unsigned char> expected(128, 0);
  expected[0] = 0x10;
  unsigned int md_length = 0;
  EVP_Digest(content.data(), content.size(), expected.data() + 1, &md_length, EVP_md5(), nullptr);
  return recovered == expected;
}

class SignBemaTest : public ::testing::Test {
 protected:
  test_support::TempEnvironment env;
  test_support::LoadedLibrary library{"sign_bema.so"};
  GenKeyFn* genkkey = library.function<GenKeyFn>("genkkey");
  GenerateFn* generate = library.function<GenerateFn>("generateEAD");
  ValidateFn* validate = library.function<ValidateFn>("validateFile");
  TestKey key = make_test_key();
  std::string path = env.root() + "/report.txt";

  int sign(const std::string& file, char* ead = nullptr) {
    return generate(file.c_str(), key.modulus.c_str(), key.private_exponent.c_str(), ead, 1);
  }
  int check(const std::string& file) { return validate(file.c_str(), key.modulus.c_str()); }
};

TEST_F(SignBemaTest, EadMatchesAnIndependentMd5AndRawRsaAndIsTheLastRecord) {
  const std::string content = "E01LINE ONE\r\nE02LINE TWO\r\n";
  write_whole_file(path, content);
  std::string buffer(kDigits, ' ');
  ASSERT_EQ(sign(path, buffer.data()), 1);

  const std::string signed_text = read_file_or_empty(path);
  ASSERT_EQ(signed_text.size(), content.size() + 3 + kDigits + 2);
  EXPECT_EQ(signed_text.substr(0, content.size()), content);
  EXPECT_EQ(signed_text.substr(content.size(), 3), "EAD");
  const std::string digits = signed_text.substr(content.size() + 3, kDigits);
  EXPECT_EQ(signed_text.substr(signed_text.size() - 2), "\r\n");
  EXPECT_EQ(buffer.c_str(), digits);
  EXPECT_TRUE(std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(c) || (c >= 'A' && c <= 'F'); }));
  EXPECT_TRUE(independently_valid(content, digits, key.modulus));
  EXPECT_EQ(check(path), 1);
}

TEST_F(SignBemaTest, OneChangedByteOrAWrongKeyFailsValidation) {
  write_whole_file(path, "ABC\r\nDEF\r\n");
  ASSERT_EQ(sign(path), 1);
  std::string text = read_file_or_empty(path);
  text[1] = 'X';
  write_whole_file(path, text);
  EXPECT_EQ(check(path), -4);
  text[1] = 'B';
  write_whole_file(path, text);
  EXPECT_EQ(check(path), 1);
  EXPECT_EQ(validate(path.c_str(), make_test_key().modulus.c_str()), -4);
}

TEST_F(SignBemaTest, ValidationAcceptsLowerCaseDigitsAndAMissingFinalLineBreak) {
  write_whole_file(path, "LINE\r\n");
  ASSERT_EQ(sign(path), 1);
  std::string text = read_file_or_empty(path);
  std::transform(text.begin() + 9, text.end(), text.begin() + 9, [](char c) { return static_cast<char>(std::tolower(c)); });
  write_whole_file(path, text);
  EXPECT_EQ(check(path), 1);
  text.resize(text.size() - 2);
  write_whole_file(path, text);
  EXPECT_EQ(check(path), 1);
}

TEST_F(SignBemaTest, KeysFromGenkkeySignAndVerify) {
  char public_key[kDigits + 1];
  char private_key[kDigits + 1];
  ASSERT_EQ(genkkey(public_key, private_key), 1);
  ASSERT_EQ(std::string(public_key).size(), kDigits);
  ASSERT_EQ(std::string(private_key).size(), kDigits);
  EXPECT_TRUE(public_key[0] >= '8');  // a full 1024-bit modulus
  write_whole_file(path, "DATA\r\n");
  ASSERT_EQ(generate(path.c_str(), public_key, private_key, nullptr, 1), 1);
  EXPECT_EQ(validate(path.c_str(), public_key), 1);
  const std::string text = read_file_or_empty(path);
  EXPECT_TRUE(independently_valid("DATA\r\n", text.substr(9, kDigits), public_key));
}

TEST_F(SignBemaTest, SigningASignedFileReplacesItsRecord) {
  write_whole_file(path, "A\r\nB\r\n");
  ASSERT_EQ(sign(path), 1);
  const std::string once = read_file_or_empty(path);
  ASSERT_EQ(sign(path), 1);
  EXPECT_EQ(read_file_or_empty(path), once);
  EXPECT_EQ(check(path), 1);
}

TEST_F(SignBemaTest, LineBreaksFollowTheFileAndALastLineGetsItsBreak) {
  write_whole_file(path, "A\nB");
  ASSERT_EQ(sign(path), 1);
  std::string text = read_file_or_empty(path);
  EXPECT_EQ(text.substr(0, 7), "A\nB\nEAD");
  EXPECT_EQ(text.back(), '\n');
  EXPECT_NE(text[text.size() - 2], '\r');
  EXPECT_TRUE(independently_valid("A\nB\n", text.substr(7, kDigits), key.modulus));
  EXPECT_EQ(check(path), 1);

  write_whole_file(path, "");
  ASSERT_EQ(sign(path), 1);
  text = read_file_or_empty(path);
  EXPECT_EQ(text.size(), 3 + kDigits + 2);
  EXPECT_TRUE(independently_valid("", text.substr(3, kDigits), key.modulus));
}

TEST_F(SignBemaTest, BadKeysAndMissingFilesAreRefusedAndLeaveTheFileAlone) {
  write_whole_file(path, "KEEP\r\n");
  const std::string short_key = key.modulus.substr(1);
  std::string not_hex = key.modulus;
  not_hex[10] = 'G';
  EXPECT_EQ(generate(path.c_str(), short_key.c_str(), key.private_exponent.c_str(), nullptr, 1), -2);
  EXPECT_EQ(generate(path.c_str(), not_hex.c_str(), key.private_exponent.c_str(), nullptr, 1), -2);
  // A private exponent from another pair would sign something that never verifies.
  EXPECT_EQ(generate(path.c_str(), key.modulus.c_str(), make_test_key().private_exponent.c_str(), nullptr, 1), -2);
  EXPECT_EQ(generate(nullptr, key.modulus.c_str(), key.private_exponent.c_str(), nullptr, 1), -1);
  EXPECT_EQ(read_file_or_empty(path), "KEEP\r\n");
  EXPECT_EQ(check(path), -3);

  const std::string missing = env.root() + "/missing.txt";
  EXPECT_EQ(sign(missing), 0);
  EXPECT_FALSE(test_support::path_exists(missing));
  EXPECT_EQ(check(missing), 0);
}

TEST_F(SignBemaTest, ComputingWithoutWritingLeavesTheFileAsItWas) {
  write_whole_file(path, "X\r\n");
  std::string buffer(kDigits, ' ');
  ASSERT_EQ(generate(path.c_str(), key.modulus.c_str(), key.private_exponent.c_str(), buffer.data(), 0), 1);
  EXPECT_EQ(read_file_or_empty(path), "X\r\n");
  EXPECT_TRUE(independently_valid("X\r\n", buffer.c_str(), key.modulus));
}

TEST_F(SignBemaTest, WindowsStylePathsAreMappedToTheDriveFolder) {
  write_whole_file(env.drive_c() + "/lmf.txt", "L\r\n");
  ASSERT_EQ(sign("C:\\lmf.txt"), 1);
  EXPECT_EQ(check(env.drive_c() + "/lmf.txt"), 1);
}

TEST(SignBemaLibrary, AcceptsOnlyKnownLibraryTypes) {
  test_support::LoadedLibrary library("sign_bema.so");
  auto set_lib_type = library.function<LibTypeFn>("setLibType");
  EXPECT_EQ(set_lib_type(0), 1);
  EXPECT_EQ(set_lib_type(1), 1);
  EXPECT_EQ(set_lib_type(7), -5);
}

}  // namespace
