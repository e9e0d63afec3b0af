# Signing with the publisher's code-signing certificate, when the build is given one:
#   -DTAPSTER_SIGN_PKCS12=<file.pfx> [-DTAPSTER_SIGN_TIMESTAMP_URL=<RFC 3161 server>]
# The build then signs tapster.exe (signed/tapster.exe, which the packages take), and the
# package target signs the installer, its uninstaller and the MSI, all with sign.sh.in. The
# certificate's password is read from the environment, TAPSTER_SIGN_PASSWORD, when signing:
# it never reaches a command line or the cache.
set(TAPSTER_SIGN_PKCS12 "" CACHE FILEPATH
    "Code-signing certificate with its key (PKCS#12, .pfx); empty: nothing is signed")
set(TAPSTER_SIGN_TIMESTAMP_URL "" CACHE STRING "Time-stamp server for the signatures (optional)")
set(TAPSTER_SIGN_COMMAND "")
if(NOT TAPSTER_SIGN_PKCS12)
  return()
endif()

get_filename_component(certificate "${TAPSTER_SIGN_PKCS12}" ABSOLUTE BASE_DIR "${CMAKE_BINARY_DIR}")
if(NOT EXISTS "${certificate}" OR IS_DIRECTORY "${certificate}")
  message(FATAL_ERROR "TAPSTER_SIGN_PKCS12: there is no certificate file ${certificate}")
endif()
find_program(TAPSTER_OSSLSIGNCODE osslsigncode)
if(NOT TAPSTER_OSSLSIGNCODE)
  message(FATAL_ERROR
    "TAPSTER_SIGN_PKCS12 is set, but osslsigncode (Debian package osslsigncode) was not found")
endif()

# The values go into single-quoted shell words.
function(tapster_shell_word out value)
  string(REPLACE "'" "'\\''" value "${value}")
  set(${out} "'${value}'" PARENT_SCOPE)
endfunction()
tapster_shell_word(SIGN_OSSLSIGNCODE "${TAPSTER_OSSLSIGNCODE}")
tapster_shell_word(SIGN_PKCS12 "${certificate}")
tapster_shell_word(SIGN_NAME "Tapster")
tapster_shell_word(SIGN_URL "https://${TAPSTER_WEB_SITE}")
tapster_shell_word(SIGN_TIMESTAMP_URL "${TAPSTER_SIGN_TIMESTAMP_URL}")
set(TAPSTER_SIGN_COMMAND "${CMAKE_CURRENT_BINARY_DIR}/sign.sh")
configure_file(sign.sh.in "${TAPSTER_SIGN_COMMAND}" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)

set(TAPSTER_SIGNED_EXE "${CMAKE_CURRENT_BINARY_DIR}/signed/tapster.exe")
set(signing "${CMAKE_CURRENT_BINARY_DIR}/signing/tapster.exe")
add_custom_command(
  OUTPUT "${TAPSTER_SIGNED_EXE}"
  COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:tapster>" "${signing}"
  COMMAND "${TAPSTER_SIGN_COMMAND}" "${signing}"
  COMMAND "${CMAKE_COMMAND}" -E copy "${signing}" "${TAPSTER_SIGNED_EXE}"
  DEPENDS tapster "${certificate}" "${TAPSTER_SIGN_COMMAND}"
  COMMENT "Signing tapster.exe with ${certificate}"
  VERBATIM)
add_custom_target(tapster_signed ALL DEPENDS "${TAPSTER_SIGNED_EXE}")
