# The header of values fixed at build time, shared by every library that needs one.

# The password goes into the program as character codes: "0x46, 0x72, ...".
string(LENGTH "${AdminPassword}" password_length)
string(HEX "${AdminPassword}" password_hex)
string(LENGTH "${password_hex}" password_hex_length)
if(NOT password_length EQUAL 11 OR NOT password_hex_length EQUAL 22)
  message(FATAL_ERROR "AdminPassword must be 11 ASCII characters")
endif()
string(REGEX REPLACE "(..)" "0x\\1, " AdminPasswordCodes "${password_hex}")
string(REGEX REPLACE ", $" "" AdminPasswordCodes "${AdminPasswordCodes}")

configure_file(${PROJECT_SOURCE_DIR}/src/app/buildconfig.h.in ${PROJECT_BINARY_DIR}/generated/buildconfig.h @ONLY)
add_library(utq_config INTERFACE)
target_include_directories(utq_config INTERFACE ${PROJECT_BINARY_DIR}/generated)
