# What both MinGW-w64 toolchains share; KVR_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${KVR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KVR_MINGW_TRIPLE}-windres)
# KVR_WINDOWS_DEPS: the prefix where scripts/windows-deps built SQLite and
# libcrypto for this architecture.
if(NOT KVR_WINDOWS_DEPS AND DEFINED ENV{KVR_WINDOWS_DEPS})
  set(KVR_WINDOWS_DEPS $ENV{KVR_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${KVR_MINGW_TRIPLE} ${KVR_WINDOWS_DEPS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KVR_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# libcrypto is built static: whoever links it also links the sockets and
# certificate-store libraries it calls.
set(OPENSSL_USE_STATIC_LIBS TRUE)
# Test programs run under Wine, which ctest and test discovery go through:
# the loader KVR_WINE_LOADERS names first (the 64-bit build names Wine's
# 64-bit loader, which runs where 32-bit programs cannot), else "wine".
find_program(KVR_WINE NAMES ${KVR_WINE_LOADERS} wine PATHS /usr/lib/wine)
if(KVR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KVR_WINE})
endif()
