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
