// Where the driver's files live on the host machine.
#pragma once
#include <string>
#include <string_view>

namespace kvr {

// dir + the platform's separator + name.
std::string JoinPath(std::string_view dir, std::string_view name);

// A file in the host executable's directory (short form), as the host reports it.
std::string HostFilePath(std::string_view name);

// The vendor library's configuration file in the system directory. The name is
// matched regardless of letter case, as on the vendor's platform; when no such
// file exists, the path it would have.
std::string VendorIniPath();

}  // namespace kvr
