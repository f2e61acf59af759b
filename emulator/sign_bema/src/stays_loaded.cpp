// Windows: the library stays loaded once loaded. The static libcrypto inside
// it leaves per-thread cleanup behind once it has run; were the library
// unloaded, the next thread or process exit would call into freed code (a
// libcrypto DLL pins itself the same way).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&DllMain), &self);
  }
  return TRUE;
}
