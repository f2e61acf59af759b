# The driver and the vendor stand-ins are loaded with dlopen and may be
# unloaded while the host runs. GCC marks the static locals of the standard
# library's inline functions as GNU unique symbols, which pin a library in
# memory for good; without them dlclose unloads it and its memory is freed.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fno-gnu-unique)
endif()

# Warnings as errors on our own targets.
function(project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A loadable module links with every symbol resolved (--no-undefined), but
# in the fuzzing build, whose modules take the sanitizer runtime from the
# program that loads them.
function(complete_module_link target)
  if(NOT KVR_FUZZ)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# A stand-in for a vendor library: plain C exports only, hidden everything else,
# and calls to its own functions bound inside itself (-Bsymbolic), so a
# same-named symbol of the driver or of another library never captures them.
function(vendor_library target)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    # A DLL binds its own calls inside itself anyway. --kill-at exports the
    # 32-bit __stdcall entry points under their plain names, without @n.
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  else()
    target_link_options(${target} PRIVATE -Wl,-Bsymbolic)
  endif()
  complete_module_link(${target})
  project_warnings(${target})
endfunction()

# Adds every immediate sub-folder of the current folder that has a build file.
function(add_child_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
