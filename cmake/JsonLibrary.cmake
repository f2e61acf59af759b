# nlohmann-json, header-only, for every folder: Debian's package on Linux; on
# Windows the same headers, which scripts/windows-deps puts in the deps prefix.
if(WIN32)
  find_path(NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp REQUIRED)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${NLOHMANN_JSON_INCLUDE_DIR})
else()
  find_package(nlohmann_json 3 REQUIRED GLOBAL)
endif()
