#pragma once
// Test-only kill points. Every durable write of this layer passes them: when
// it starts, when its new bytes are on the disk but not yet in place, and when
// it is complete. While the environment variable FISCAL_KILL_AT holds a number
// N, the N-th point this module passes ends the process at once with SIGKILL,
// as a cut in power would end it; with FISCAL_KILL_IN naming a folder, only
// the writes of files in that folder count. Each module that links this layer
// counts its own points. Without the variable a point does nothing.
#include <string>

namespace platform::detail {

void kill_point(const std::string& path);

}  // namespace platform::detail
