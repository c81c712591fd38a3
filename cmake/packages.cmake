# The packages a user installs, made by every ordinary build:
#
# <build>/ZERA_VirOrar-<version>-windows.zip (target windows_package): the
#   plug-in for 32-bit and for 64-bit FileMaker Pro, drvwatch.exe, both
#   builds of the pad control for machines without the pad's own software
#   (signing with the mouse; an in-process control must be as wide as
#   FileMaker), a read-me and the function reference, as text with Windows
#   line ends.
# <build>/ZERA_VirOrar-<version>-filemaker-server-linux.tar.gz (target
#   server_package): the Linux module and the pad control at their place in
#   a FileMaker Server for Linux, to unpack at the root. `cmake --install`
#   puts the same two files there (the server component; the prefix is the
#   server's /opt/FileMaker unless another is given).
set(ZERA_SERVER_EXTENSIONS "FileMaker Server/Database Server/Extensions")
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/FileMaker CACHE PATH "Where FileMaker Server is installed" FORCE)
endif()
install(TARGETS ZERA_VirOrar sigplus LIBRARY DESTINATION "${ZERA_SERVER_EXTENSIONS}" COMPONENT server)

set(CPACK_PACKAGE_NAME ZERA_VirOrar)
set(CPACK_PACKAGE_VENDOR "Penvira")
set(CPACK_PACKAGE_VERSION ${ZERA_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_WINDOWS_FILE_NAME ZERA_VirOrar-${ZERA_VERSION}-windows)
set(CPACK_ARCHIVE_SERVER_FILE_NAME ZERA_VirOrar-${ZERA_VERSION}-filemaker-server-linux)
# The server's archive holds its paths from the root; the Windows one a
# folder of its own.
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/FileMaker)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

add_custom_target(server_package ALL
  COMMAND ${CMAKE_CPACK_COMMAND} -G TGZ -D CPACK_COMPONENTS_ALL=server --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packaging the plug-in for FileMaker Server for Linux"
  VERBATIM)
add_dependencies(server_package ZERA_VirOrar sigplus)

if("i686" IN_LIST ZERA_WINDOWS_ARCHES AND "x86_64" IN_LIST ZERA_WINDOWS_ARCHES)
  set(_windows ${ZERA_WINDOWS_DIR})
  set(_top ZERA_VirOrar-${ZERA_VERSION}-windows)
  install(FILES ${_windows}/i686/ZERA_VirOrar.fmx ${_windows}/x86_64/ZERA_VirOrar.fmx64 ${_windows}/i686/drvwatch.exe
    DESTINATION ${_top} COMPONENT windows EXCLUDE_FROM_ALL)
  install(FILES ${_windows}/i686/sigplus.dll DESTINATION ${_top}/without-pad/32-bit COMPONENT windows EXCLUDE_FROM_ALL)
  install(FILES ${_windows}/x86_64/sigplus.dll DESTINATION ${_top}/without-pad/64-bit COMPONENT windows EXCLUDE_FROM_ALL)
  set(_text ${CMAKE_BINARY_DIR}/package-text)
  install(FILES ${_text}/README.txt ${_text}/Functions.txt DESTINATION ${_top} COMPONENT windows EXCLUDE_FROM_ALL)

  # Signed with the builder's certificate when ZERA_SIGN_PKCS12 names one
  # (scripts/sign-windows.sh); left unsigned otherwise.
  add_custom_target(windows_package ALL
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh ${_windows}/i686/ZERA_VirOrar.fmx
      ${_windows}/x86_64/ZERA_VirOrar.fmx64 ${_windows}/i686/drvwatch.exe ${_windows}/i686/sigplus.dll
      ${_windows}/x86_64/sigplus.dll
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/packaging/README-Windows.txt -DOUT=${_text}/README.txt
      -P ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/docs/functions.md -DOUT=${_text}/Functions.txt
      -P ${PROJECT_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP -D CPACK_COMPONENTS_ALL=windows -D CPACK_PACKAGING_INSTALL_PREFIX=
      --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packaging the Windows plug-in"
    VERBATIM)
  add_dependencies(windows_package zera_windows_i686 zera_windows_x86_64)
endif()

include(CPack)
