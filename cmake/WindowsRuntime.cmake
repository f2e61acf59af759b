# The MinGW-w64 runtime DLLs that every module of the Windows build needs:
# copied beside the modules, as they are shipped beside the host. One shared
# C++ runtime lets strings and exceptions cross the modules' boundaries.
if(WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(gcc_runtime libgcc_s_dw2-1.dll)
  else()
    set(gcc_runtime libgcc_s_seh-1.dll)
  endif()
  set(KVR_WINDOWS_RUNTIME_DLLS "")
  foreach(dll libstdc++-6.dll ${gcc_runtime} libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
      message(FATAL_ERROR "The compiler's runtime ${dll} is not found")
    endif()
    file(COPY ${found} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    list(APPEND KVR_WINDOWS_RUNTIME_DLLS ${dll})
  endforeach()
endif()
