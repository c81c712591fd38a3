# The package a user installs, made by every ordinary build (target
# windows_package) into <build>/ZERA_VirOrar-<version>-windows.zip: the
# plug-in for 32-bit and for 64-bit FileMaker Pro, drvwatch.exe, both builds
# of the pad control for machines without the pad's own software (signing
# with the mouse; an in-process control must match FileMaker's width) and a
# read-me.
if("i686" IN_LIST ZERA_WINDOWS_PLUGIN_ARCHES AND "x86_64" IN_LIST ZERA_WINDOWS_PLUGIN_ARCHES
   AND TARGET drvwatch_windows_i686)
  set(_windows ${CMAKE_BINARY_DIR}/windows)
  install(FILES ${_windows}/i686/ZERA_VirOrar.fmx ${_windows}/x86_64/ZERA_VirOrar.fmx64 ${_windows}/i686/drvwatch.exe
    DESTINATION .)
  install(FILES ${_windows}/i686/sigplus.dll DESTINATION without-pad/32-bit)
  install(FILES ${_windows}/x86_64/sigplus.dll DESTINATION without-pad/64-bit)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/README-Windows.txt DESTINATION . RENAME README.txt)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME ZERA_VirOrar)
  set(CPACK_PACKAGE_VENDOR "Penvira")
  set(CPACK_PACKAGE_VERSION 1.0.6.0)
  set(CPACK_SYSTEM_NAME windows)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)

  # Signed with the builder's certificate when ZERA_SIGN_PKCS12 names one
  # (scripts/sign-windows.sh); left unsigned otherwise.
  add_custom_target(windows_package ALL
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh ${_windows}/i686/ZERA_VirOrar.fmx
      ${_windows}/x86_64/ZERA_VirOrar.fmx64 ${_windows}/i686/drvwatch.exe ${_windows}/i686/sigplus.dll
      ${_windows}/x86_64/sigplus.dll
    COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packaging the Windows plug-in"
    VERBATIM)
  add_dependencies(windows_package zera_windows_i686 zera_windows_x86_64 drvwatch_windows_i686)
endif()
