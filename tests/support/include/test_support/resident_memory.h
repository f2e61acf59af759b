#pragma once
// The resident memory of this process (VmRSS of /proc/self/status), read
// without the process locale; 0 where it cannot be read.
#include <cstdint>

namespace test_support {

std::int64_t resident_kib();

// True in a build with AddressSanitizer, whose quarantine makes resident
// memory say nothing about leaks (LeakSanitizer tells them instead).
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace test_support
