#include "paf_fixture.h"

#include <algorithm>
#include <filesystem>

#include "ead_check.h"
#include "test_support/temp_environment.h"

namespace paf_test {

PafTest::PafTest() { EXPECT_TRUE(Start()); }

void PafTest::MakeMenuDir() const { std::filesystem::create_directories(MenuDir()); }

std::vector<std::string> PafTest::MenuFiles() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(MenuDir(), error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

int PafTest::ValidateFile(const std::string& path) const {
  return signer.entry<int(const char*, const char*)>("validateFile")(path.c_str(), kKvrPublicKey);
}

void PafTest::ExpectSignedTwice(const std::string& path) const {
  EXPECT_EQ(ValidateFile(path), 1) << path;
  EXPECT_TRUE(EadHolds(path, kKvrPublicKey)) << path;

  const std::string original = test_support::read_file_or_empty(path);
  ASSERT_GT(original.size(), 262u);
  std::string changed = original;
  changed[0] = changed[0] == 'X' ? 'Y' : 'X';
  test_support::write_whole_file(path, changed);
  EXPECT_NE(ValidateFile(path), 1) << "a changed byte still validates: " << path;
  EXPECT_FALSE(EadHolds(path, kKvrPublicKey)) << "a changed byte still holds: " << path;
  test_support::write_whole_file(path, original);
}

}  // namespace paf_test
