# The plug-in's version, written here once. The build writes it into
# zera/version.h (target zera_version) for the plug-in's answer, the tests
# and the resource script, and the packages are named with it.
#   ZERA_VERSION           what ZERA_Version reports and the packages carry
#   ZERA_RESOURCE_VERSION  the module's version resource, which stays at the
#                          value the installed base shows (docs/compatibility.md)
set(ZERA_VERSION 1.0.6.0)
set(ZERA_RESOURCE_VERSION 1.0.5.1)

string(REPLACE "." "," ZERA_RESOURCE_VERSION_COMMAS ${ZERA_RESOURCE_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/zera/version.h @ONLY)
add_library(zera_version INTERFACE)
target_include_directories(zera_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
