#pragma once
// Calling convention and export marking of the vendor library stand-ins:
// plain C entry points, __stdcall on 32-bit Windows only, and the only
// symbols those libraries export (everything else is hidden).
#if defined(_WIN32) && !defined(_WIN64)
#define VENDOR_CALL __stdcall
#else
#define VENDOR_CALL
#endif

#if defined(_WIN32)
#define VENDOR_EXPORT __declspec(dllexport)
#else
#define VENDOR_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
namespace vendor_api {
// A pointer to an entry point of type R(Args...) in the vendor's calling
// convention, for those who resolve the entry points by name.
template <class Fn>
struct Pointer;
template <class R, class... Args>
struct Pointer<R(Args...)> {
  using type = R(VENDOR_CALL*)(Args...);
};
template <class Fn>
using pointer = typename Pointer<Fn>::type;
}  // namespace vendor_api
#endif
