# The header of values fixed at build time, shared by every library that needs one.

include(${CMAKE_CURRENT_LIST_DIR}/AdminPassword.cmake)

configure_file(${PROJECT_SOURCE_DIR}/src/app/buildconfig.h.in ${PROJECT_BINARY_DIR}/generated/buildconfig.h @ONLY)
add_library(utq_config INTERFACE)
target_include_directories(utq_config INTERFACE ${PROJECT_BINARY_DIR}/generated)
