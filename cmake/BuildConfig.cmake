# The header of values fixed at build time, shared by every library that needs one.

include(${CMAKE_CURRENT_LIST_DIR}/AdminPassword.cmake)
include(GNUInstallDirs)

# Where an installed program finds its sounds, relative to its executable.
set(UTQ_DATA_DIR ${CMAKE_INSTALL_DATADIR}/utquery)
file(RELATIVE_PATH DataFromBinaries ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${UTQ_DATA_DIR})

# The master lists as the program reads them: comma-separated.
string(REPLACE ";" "," Ut99MastersText "${Ut99Masters}")
string(REPLACE ";" "," Ut2004MastersText "${Ut2004Masters}")

configure_file(${PROJECT_SOURCE_DIR}/src/app/buildconfig.h.in ${PROJECT_BINARY_DIR}/generated/buildconfig.h @ONLY)
add_library(utq_config INTERFACE)
target_include_directories(utq_config INTERFACE ${PROJECT_BINARY_DIR}/generated)
