# Toolchain of the sanitizer build (scripts/test-sanitize): Debian's default
# clang with AddressSanitizer (and LeakSanitizer) and UBSan on every target.
# The modules are loaded with dlopen, so every binary shares one sanitizer
# runtime (-shared-libsan); it lives in clang's own folder, which the loader
# is told through the run path.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)

set(kvr_sanitizers "-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer")
set(CMAKE_CXX_FLAGS_INIT "${kvr_sanitizers}")
set(CMAKE_C_FLAGS_INIT "${kvr_sanitizers}")

execute_process(COMMAND clang++ -print-file-name=libclang_rt.asan-x86_64.so
                OUTPUT_VARIABLE kvr_asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(kvr_sanitizer_runtime_dir "${kvr_asan_runtime}" DIRECTORY)
set(kvr_sanitizer_link "${kvr_sanitizers} -shared-libsan -Wl,-rpath,${kvr_sanitizer_runtime_dir}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${kvr_sanitizer_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${kvr_sanitizer_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${kvr_sanitizer_link}")
