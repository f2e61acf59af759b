#pragma once
// What the fuzz targets and seed writers share: oracle failures, a scratch
// folder of the process's own, seed files, and the checksums that let a
// mutated body reach the parsers behind a damaged-file check.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/paths.h"

namespace fuzz {

// An oracle failed: says which, and stops the run so that libFuzzer keeps the input.
[[noreturn]] inline void fail(std::string_view what) {
  std::fprintf(stderr, "\nORACLE FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
  std::fflush(stderr);
  __builtin_trap();
}

inline void check(bool holds, std::string_view what) {
  if (!holds) fail(what);
}

// Where two texts part: the first line that differs in each, for a failure's message.
inline std::string first_difference(std::string_view a, std::string_view b) {
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const auto line = [at](std::string_view text) {
    const std::size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = start == std::string_view::npos || at == 0 ? 0 : start + 1;
    return std::string(text.substr(from, text.find('\n', from) - from));
  };
  return "'" + line(a) + "' / '" + line(b) + "'";
}

// A folder of this process, removed at exit; on a memory file system when
// there is one, since the printer makes each of its writes durable.
inline const std::string& scratch_folder() {
  static const std::string* folder = [] {
    std::string base = platform::directory_exists("/dev/shm") ? "/dev/shm" : "/tmp";
    if (const char* tmp = std::getenv("KVR_FUZZ_TMPDIR")) base = tmp;
    auto* made = new std::string(base + "/kvr-fuzz-XXXXXX");  // kept until the removal at exit
    if (!::mkdtemp(made->data())) fail("cannot create a scratch folder under " + base);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratch_folder(), ignored);
    });
    return made;
  }();
  return *folder;
}

// Seed files: <root>/<target>/<name>.
inline void write_seed(const std::string& root, const std::string& target, const std::string& name,
                       std::string_view bytes) {
  platform::make_directories(root + "/" + target);
  platform::write_file_atomic(root + "/" + target + "/" + name, bytes);
}

// The corpus root that a seed writer is given as its one argument; exits
// with the usage otherwise.
inline std::string seed_root(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus root>\n", argv[0]);
    std::exit(2);
  }
  return argv[1];
}

// A BemaFI32.ini in a system folder of the scratch folder, naming a printer
// folder beside it, with no wire time and a fixed clock: an emulated printer
// loaded after this call lives there.
inline void install_printer_folder() {
  const std::string system = scratch_folder() + "/system";
  platform::make_directories(system);
  platform::write_file_atomic(system + "/BemaFI32.ini", "[Sistema]\nPath=" + scratch_folder() +
                                                            "/printer\n[Emulador]\nBaud=0\nRelogio=07122026103000\n");
  platform::set_system_directory(system);
}

// Inputs of the sealed form: a first byte 1 means "the rest is a body; seal
// it"; any other first byte means "the rest is the whole file as it stands".
inline bool sealed_input(std::string_view& input) {
  if (input.empty()) return false;
  const bool seal = input.front() == 1;
  input.remove_prefix(1);
  return seal;
}

// CRC-32 of the IEEE polynomial, as zlib computes it (the data packet's trailer).
inline std::uint32_t crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char ch : bytes) {
    c ^= ch;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

// 64-bit FNV-1a (the printer's state file checksum).
inline std::uint64_t fnv1a64(std::string_view text) {
  std::uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace fuzz
