#include "core/host_paths.h"

#include <filesystem>
#include <system_error>

#include "hostrt/services.h"
#include "hostrt/text.h"
#include "platform/paths.h"

namespace kvr {

std::string JoinPath(std::string_view dir, std::string_view name) {
#if defined(_WIN32)
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  std::string path(dir);
  if (!path.empty() && path.back() != kSeparator) path += kSeparator;
  path += name;
  return path;
}

std::string HostFilePath(std::string_view name) { return JoinPath(hostrt::Host().ExeDirectoryShort(), name); }

std::string VendorIniPath() {
  const std::string dir = platform::system_directory();
  const std::string wanted = "Bemafi32.ini";
  const std::string exact = JoinPath(dir, wanted);
  std::error_code error;
  if (std::filesystem::exists(exact, error)) return exact;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (hostrt::UpperCase(name) == hostrt::UpperCase(wanted)) return JoinPath(dir, name);
  }
  return exact;
}

}  // namespace kvr
