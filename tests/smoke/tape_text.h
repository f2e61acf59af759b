// The paper of a run as two platforms can compare it.
#pragma once
#include <string>

namespace smoke_test {

// The tape with every date and time stamp ("dd/mm/yyyy", "hh:mm:ss",
// "hh:mm") replaced by the same number of '#'.
std::string WithoutTimeStamps(const std::string& tape);

// The first line where two texts differ, as "line N: <a> | <b>"; empty when equal.
std::string FirstDifference(const std::string& a, const std::string& b);

}  // namespace smoke_test
