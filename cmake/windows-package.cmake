# The package a user installs: a zip of the shipped 32-bit plug-in, the
# shipped drvwatch.exe, the 32-bit pad control for machines without the
# pad's own software (signing with the mouse) and a short read-me, made by every ordinary build
# (target windows_package) into <build>/ZERA_VirOrar-<version>-win32.zip.
if("i686" IN_LIST ZERA_WINDOWS_PLUGIN_ARCHES AND TARGET drvwatch_windows_i686)
  set(_shipped ${CMAKE_BINARY_DIR}/windows/i686)
  install(FILES ${_shipped}/ZERA_VirOrar.fmx ${_shipped}/drvwatch.exe DESTINATION .)
  install(FILES ${_shipped}/sigplus.dll DESTINATION without-pad)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/README-Windows.txt DESTINATION . RENAME README.txt)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME ZERA_VirOrar)
  set(CPACK_PACKAGE_VENDOR "Penvira")
  set(CPACK_PACKAGE_VERSION 1.0.6.0)
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)

  add_custom_target(windows_package ALL
    COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packaging the Windows plug-in"
    VERBATIM)
  add_dependencies(windows_package zera_windows_i686 drvwatch_windows_i686)
endif()
