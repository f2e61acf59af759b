# Exports only the entry points listed in the stand-in's exports.map (a linker
# version script); on Windows only what VENDOR_EXPORT marks is exported anyway.
function(vendor_exports target)
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
  endif()
endfunction()
