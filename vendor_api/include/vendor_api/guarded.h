#pragma once
// Runs an entry point's body so that no C++ exception crosses the C boundary:
// any exception becomes the given result code.
#include <exception>

namespace vendor_api {

template <class Body>
int guarded(int failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace vendor_api
