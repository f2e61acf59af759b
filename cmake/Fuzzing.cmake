# The fuzzing build (KVR_FUZZ=ON, Clang with libFuzzer, in its own build
# folder: scripts/fuzz, scripts/test-fuzz). Every piece of the project is
# compiled with the fuzzer's coverage hooks and AddressSanitizer + UBSan; the
# fuzz targets (tests/fuzz) add libFuzzer's main. Off, nothing changes.
option(KVR_FUZZ "Build the libFuzzer targets of tests/fuzz (needs Clang)" OFF)
if(KVR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KVR_FUZZ needs Clang with libFuzzer (for example -DCMAKE_CXX_COMPILER=clang++-16)")
  endif()
  set(KVR_FUZZ_SANITIZERS address,undefined)
  add_compile_options(-fsanitize=fuzzer-no-link,${KVR_FUZZ_SANITIZERS} -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${KVR_FUZZ_SANITIZERS})
endif()
