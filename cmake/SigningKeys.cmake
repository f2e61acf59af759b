# The EAD signing keys are deployment data. KVR_SIGNING_KEY_FILE names a file
# with two lines:
#   RSA_KEY_PUBLICA=<256 hex digits: the modulus>
#   RSA_KEY_PRIVADA=<256 hex digits: the private exponent>
# Without it, a throwaway development pair is made with the openssl tool inside
# the build tree. Either way the keys land only in the build tree:
#   generated/driver/kvr_signing_keys.h  both keys, for the driver alone
#   generated/public/kvr_public_key.h    the public key, for tests and tools
set(KVR_SIGNING_KEY_FILE "" CACHE FILEPATH "File with RSA_KEY_PUBLICA= and RSA_KEY_PRIVADA= lines (256 hex digits each)")
set(KVR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${KVR_GENERATED_DIR})

function(kvr_hex_key text name out)
  string(STRIP "${text}" value)
  string(TOUPPER "${value}" value)
  string(LENGTH "${value}" length)
  if(NOT value MATCHES "^[0-9A-F]+$" OR length GREATER 256)
    message(FATAL_ERROR "${name}: expected up to 256 hexadecimal digits")
  endif()
  while(length LESS 256)
    string(PREPEND value "0")
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

if(KVR_SIGNING_KEY_FILE)
  if(NOT EXISTS "${KVR_SIGNING_KEY_FILE}")
    message(FATAL_ERROR "KVR_SIGNING_KEY_FILE: ${KVR_SIGNING_KEY_FILE} does not exist")
  endif()
  set(key_source "${KVR_SIGNING_KEY_FILE}")
  file(STRINGS "${key_source}" key_lines)
  set(public_text "")
  set(private_text "")
  foreach(line IN LISTS key_lines)
    if(line MATCHES "^[ \t]*RSA_KEY_PUBLICA[ \t]*=(.*)$")
      set(public_text "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^[ \t]*RSA_KEY_PRIVADA[ \t]*=(.*)$")
      set(private_text "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(public_text STREQUAL "" OR private_text STREQUAL "")
    message(FATAL_ERROR "KVR_SIGNING_KEY_FILE: needs both RSA_KEY_PUBLICA= and RSA_KEY_PRIVADA= lines")
  endif()
  message(STATUS "EAD signing keys: taken from ${key_source}")
else()
  set(key_source "${KVR_GENERATED_DIR}/development_key.txt")
  if(NOT EXISTS "${key_source}")
    find_program(OPENSSL_TOOL openssl REQUIRED)
    set(pem "${KVR_GENERATED_DIR}/development_key.pem")
    execute_process(COMMAND ${OPENSSL_TOOL} genrsa -out ${pem} 1024
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(failed)
      message(FATAL_ERROR "openssl genrsa failed; set KVR_SIGNING_KEY_FILE")
    endif()
    execute_process(COMMAND ${OPENSSL_TOOL} rsa -in ${pem} -noout -text
                    OUTPUT_VARIABLE dump RESULT_VARIABLE failed ERROR_QUIET)
    file(REMOVE ${pem})
    if(failed)
      message(FATAL_ERROR "openssl rsa failed; set KVR_SIGNING_KEY_FILE")
    endif()
    string(REGEX MATCH "modulus:([0-9a-f: \r\n\t]+)publicExponent" ignored "${dump}")
    string(REGEX REPLACE "[: \r\n\t]" "" modulus "${CMAKE_MATCH_1}")
    string(REGEX MATCH "privateExponent:([0-9a-f: \r\n\t]+)prime1" ignored "${dump}")
    string(REGEX REPLACE "[: \r\n\t]" "" exponent "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^0+" "" modulus "${modulus}")
    string(REGEX REPLACE "^0+" "" exponent "${exponent}")
    kvr_hex_key("${modulus}" "modulus" modulus)
    kvr_hex_key("${exponent}" "private exponent" exponent)
    file(WRITE "${key_source}" "RSA_KEY_PUBLICA=${modulus}\nRSA_KEY_PRIVADA=${exponent}\n")
  endif()
  file(STRINGS "${key_source}" key_lines)
  list(GET key_lines 0 public_line)
  list(GET key_lines 1 private_line)
  string(REGEX REPLACE "^RSA_KEY_PUBLICA=" "" public_text "${public_line}")
  string(REGEX REPLACE "^RSA_KEY_PRIVADA=" "" private_text "${private_line}")
  message(STATUS "EAD signing keys: no KVR_SIGNING_KEY_FILE given; using a throwaway development pair "
                 "made with openssl in ${key_source}. Files signed with it prove nothing; "
                 "a deployment build must name its own key file.")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${key_source}")
kvr_hex_key("${public_text}" "RSA_KEY_PUBLICA" KVR_RSA_PUBLIC)
kvr_hex_key("${private_text}" "RSA_KEY_PRIVADA" KVR_RSA_PRIVATE)

file(CONFIGURE OUTPUT ${KVR_GENERATED_DIR}/driver/kvr_signing_keys.h CONTENT
"// Made by the build from the deployment's key file; never commit.
#pragma once
namespace kvr {
inline constexpr char RSA_KEY_PUBLICA[] = \"${KVR_RSA_PUBLIC}\";
inline constexpr char RSA_KEY_PRIVADA[] = \"${KVR_RSA_PRIVATE}\";
}  // namespace kvr
")
file(CONFIGURE OUTPUT ${KVR_GENERATED_DIR}/public/kvr_public_key.h CONTENT
"// Made by the build from the deployment's key file: the public key only.
#pragma once
inline constexpr char kKvrPublicKey[] = \"${KVR_RSA_PUBLIC}\";
")
add_library(kvr_signing_keys INTERFACE)
target_include_directories(kvr_signing_keys INTERFACE ${KVR_GENERATED_DIR}/driver)
add_library(kvr_public_key INTERFACE)
target_include_directories(kvr_public_key INTERFACE ${KVR_GENERATED_DIR}/public)

# The PAF identification's values are enciphered by the host with a selector
# that both sides share.
set(KVR_PAF_CIPHER_SELECTOR 7 CACHE STRING "Selector of the host cipher for the PAF identification values")
if(NOT KVR_PAF_CIPHER_SELECTOR MATCHES "^-?[0-9]+$")
  message(FATAL_ERROR "KVR_PAF_CIPHER_SELECTOR must be an integer")
endif()
