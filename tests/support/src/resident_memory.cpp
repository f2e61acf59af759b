#include "test_support/resident_memory.h"

#include <string>

#include "platform/files.h"
#include "platform/numbers.h"

namespace test_support {

std::int64_t resident_kib() {
  std::string status;
  try {
    status = platform::read_file("/proc/self/status");
  } catch (const std::exception&) {
    return 0;
  }
  const std::size_t at = status.find("VmRSS:");
  if (at == std::string::npos) return 0;
  std::size_t first = status.find_first_of("0123456789", at);
  const std::size_t end = status.find_first_not_of("0123456789", first);
  if (first == std::string::npos || end == std::string::npos) return 0;
  const auto kib = platform::parse_integer(std::string_view(status).substr(first, end - first));
  return kib ? *kib : 0;
}

}  // namespace test_support
