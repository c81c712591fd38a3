# Copies of the shipped Windows files signed by scripts/sign-windows.sh with a throwaway certificate, and verified.
find_program(OSSLSIGNCODE osslsigncode)
find_program(OPENSSL openssl)
if(OSSLSIGNCODE AND OPENSSL)
  add_test(NAME windows_signing
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/signing_checks.sh ${ZERA_WINDOWS_DIR}/i686 ${ZERA_WINDOWS_DIR}/x86_64)
else()
  # scripts/setup.sh installs both, so a missing one is a setup fault: fail, do not skip.
  add_test(NAME windows_signing
    COMMAND sh -c "echo 'windows_signing: osslsigncode or openssl not found (run scripts/setup.sh)'; exit 1")
endif()
