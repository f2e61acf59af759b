// File copy with Windows error codes, atomic writes and whole-file reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <csignal>
#include <filesystem>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_lock.h"
#include "platform/files.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::copy_file;
using platform::read_file;
using platform::write_file_atomic;

class FilesTest : public ::testing::Test {
 protected:
  // Names in the folder besides the expected ones: leftovers of a failed write.
  std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static unsigned mode_of(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
  }

  platform_test::TempFolder temp_;
};

TEST_F(FilesTest, CopyKeepsContentsAndPermissions) {
  // The size is counted from the literal, so the bytes are exactly its own.
  static constexpr char kBytes[] = "line 1\r\n\0\xFF binary";
  const std::string data(kBytes, sizeof kBytes - 1);
  write_file_atomic(temp_ / "Retorno.txt", data);
  ::chmod((temp_ / "Retorno.txt").c_str(), 0640);
  ASSERT_EQ(copy_file(temp_ / "Retorno.txt", temp_ / "LMFC_1.txt", false), platform::kErrorSuccess);
  EXPECT_EQ(read_file(temp_ / "LMFC_1.txt"), data);
  EXPECT_EQ(mode_of(temp_ / "LMFC_1.txt"), 0640u);
  EXPECT_EQ(names_in(temp_.path()), (std::vector<std::string>{"LMFC_1.txt", "Retorno.txt"}));
}

TEST_F(FilesTest, CopyReplacesOrRefusesAnExistingDestination) {
  write_file_atomic(temp_ / "src", "new");
  write_file_atomic(temp_ / "dst", "old");
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "dst", true), platform::kErrorFileExists);
  EXPECT_EQ(read_file(temp_ / "dst"), "old");
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "dst", false), platform::kErrorSuccess);
  EXPECT_EQ(read_file(temp_ / "dst"), "new");
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "fresh", true), platform::kErrorSuccess);
  EXPECT_EQ(read_file(temp_ / "fresh"), "new");
  EXPECT_EQ(names_in(temp_.path()), (std::vector<std::string>{"dst", "fresh", "src"}));
}

TEST_F(FilesTest, CopyReportsMissingFilesAndFolders) {
  write_file_atomic(temp_ / "src", "x");
  EXPECT_EQ(copy_file(temp_ / "missing", temp_ / "dst", false), platform::kErrorFileNotFound);
  EXPECT_EQ(copy_file(temp_ / "nofolder/missing", temp_ / "dst", false), platform::kErrorPathNotFound);
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "MenuFiscal/LMFC_1.txt", false), platform::kErrorPathNotFound);
  EXPECT_EQ(copy_file(temp_ / "src/inner", temp_ / "dst", false), platform::kErrorPathNotFound);
  EXPECT_EQ(copy_file("", temp_ / "dst", false), platform::kErrorPathNotFound);
  EXPECT_EQ(names_in(temp_.path()), (std::vector<std::string>{"src"}));
}

TEST_F(FilesTest, CopyRefusesFoldersAndReadOnlyFiles) {
  write_file_atomic(temp_ / "src", "new");
  platform::make_directories(temp_ / "folder");
  EXPECT_EQ(copy_file(temp_ / "folder", temp_ / "dst", false), platform::kErrorAccessDenied);
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "folder", false), platform::kErrorAccessDenied);
  // A read-only destination stays as it is, even for root.
  write_file_atomic(temp_ / "locked", "old");
  ::chmod((temp_ / "locked").c_str(), 0444);
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "locked", false), platform::kErrorAccessDenied);
  EXPECT_EQ(read_file(temp_ / "locked"), "old");
}

TEST_F(FilesTest, CopyIntoAReadOnlyFolderIsDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; the read-only file case covers code 5";
  write_file_atomic(temp_ / "src", "x");
  platform::make_directories(temp_ / "ro");
  ::chmod((temp_ / "ro").c_str(), 0555);
  EXPECT_EQ(copy_file(temp_ / "src", temp_ / "ro/dst", false), platform::kErrorAccessDenied);
  EXPECT_TRUE(names_in(temp_ / "ro").empty());
}

TEST_F(FilesTest, AtomicWriteReplacesAndKeepsPermissions) {
  write_file_atomic(temp_ / "state.dat", "first");
  ::chmod((temp_ / "state.dat").c_str(), 0600);
  write_file_atomic(temp_ / "state.dat", "second, longer");
  EXPECT_EQ(read_file(temp_ / "state.dat"), "second, longer");
  EXPECT_EQ(mode_of(temp_ / "state.dat"), 0600u);
  write_file_atomic(temp_ / "empty", "");
  EXPECT_EQ(read_file(temp_ / "empty"), "");
  EXPECT_EQ(names_in(temp_.path()), (std::vector<std::string>{"empty", "state.dat"}));
}

TEST_F(FilesTest, TailOfAFileIsItsLastBytesOrAllOfAShortOne) {
  std::string data;
  for (int i = 0; i < 20000; ++i) data += static_cast<char>('a' + i % 26);
  write_file_atomic(temp_ / "Bobina.txt", data);
  EXPECT_EQ(platform::read_file_tail(temp_ / "Bobina.txt", 100), data.substr(data.size() - 100));
  EXPECT_EQ(platform::read_file_tail(temp_ / "Bobina.txt", 70000), data);
  EXPECT_EQ(platform::read_file_tail(temp_ / "Bobina.txt", 0), "");
  EXPECT_THROW(platform::read_file_tail(temp_ / "missing.txt", 10), std::runtime_error);
}

// Two holders of one lock file exclude each other, even in one process, and
// the second gets it as soon as the first lets go.
TEST_F(FilesTest, AFileLockWaitsForItsHolder) {
  const std::string path = temp_ / "BemaFI32.trava";
  std::atomic<bool> second_holds{false};
  std::thread second;
  {
    platform::FileLock first(path);
    second = std::thread([&] {
      platform::FileLock again(path);
      second_holds = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(second_holds) << "the lock was taken twice";
  }
  second.join();
  EXPECT_TRUE(second_holds);
  EXPECT_THROW(platform::FileLock(temp_ / "no-folder/BemaFI32.trava"), std::runtime_error);
}

TEST_F(FilesTest, AtomicWriteThatFailsMidwayLeavesTheOldFile) {
  const std::string path = temp_ / "state.dat";
  write_file_atomic(path, "old contents");
  // The child may write no more than 64 bytes per file, so the write fails
  // part way through, as on a full disk.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      write_file_atomic(path, std::string(100000, 'n'));
    } catch (const std::runtime_error& error) {
      ::_exit(std::string(error.what()).find(path) != std::string::npos ? 0 : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error reported, 2: message lacks the path";
  EXPECT_EQ(read_file(path), "old contents");
  EXPECT_EQ(names_in(temp_.path()), (std::vector<std::string>{"state.dat"}));
}

TEST_F(FilesTest, AtomicWriteIntoAMissingFolderThrowsWithThePath) {
  try {
    write_file_atomic(temp_ / "missing/state.dat", "x");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(temp_ / "missing/state.dat"), std::string::npos) << error.what();
  }
}

TEST_F(FilesTest, ReadFailsClearly) {
  EXPECT_THROW(read_file(temp_ / "missing"), std::runtime_error);
  platform::make_directories(temp_ / "folder");
  EXPECT_THROW(read_file(temp_ / "folder"), std::runtime_error);
}

TEST_F(FilesTest, FoldersAreMadeWithTheirParents) {
  platform::make_directories(temp_ / "Dados/Reducoes");
  platform::make_directories(temp_ / "Dados/Reducoes/");
  EXPECT_TRUE(platform::directory_exists(temp_ / "Dados/Reducoes"));
  EXPECT_FALSE(platform::file_exists(temp_ / "Dados"));
  write_file_atomic(temp_ / "plain", "x");
  EXPECT_TRUE(platform::file_exists(temp_ / "plain"));
  EXPECT_FALSE(platform::directory_exists(temp_ / "plain"));
  EXPECT_THROW(platform::make_directories(temp_ / "plain/sub"), std::runtime_error);
  EXPECT_THROW(platform::make_directories(temp_ / "plain"), std::runtime_error);
}

}  // namespace
