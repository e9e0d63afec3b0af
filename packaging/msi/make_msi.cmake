# Builds Tapster-<version>.msi with wixl from the files CPack staged for the portable zip.
#
# CPack runs this after each package (CPACK_POST_BUILD_SCRIPTS); it acts after the zip, whose
# staged folder holds exactly the files the MSI installs. The tests run it by hand to build an
# older version of the package, which the current one must upgrade:
#   cmake -D TAPSTER_CPACK_CONFIG=<build>/CPackConfig.cmake -D TAPSTER_MSI_VERSION=2.0.0
#         -D TAPSTER_MSI_ZIP=<portable zip> -D TAPSTER_MSI_OUTPUT=<file.msi> -P make_msi.cmake
cmake_minimum_required(VERSION 3.25)

if(DEFINED CPACK_GENERATOR)
  if(NOT CPACK_GENERATOR STREQUAL "ZIP")
    return()
  endif()
  set(version "${CPACK_PACKAGE_VERSION}")
  set(output "${CPACK_PACKAGE_DIRECTORY}/Tapster-${version}.msi")
  set(work "${CPACK_TOPLEVEL_DIRECTORY}/msi")
  file(REMOVE_RECURSE "${work}")
  file(COPY "${CPACK_TEMPORARY_DIRECTORY}/" DESTINATION "${work}")
else()
  include("${TAPSTER_CPACK_CONFIG}")
  set(version "${TAPSTER_MSI_VERSION}")
  set(output "${TAPSTER_MSI_OUTPUT}")
  set(work "${output}.files")
  file(REMOVE_RECURSE "${work}")
  file(ARCHIVE_EXTRACT INPUT "${TAPSTER_MSI_ZIP}" DESTINATION "${work}")
endif()

if(NOT CPACK_TAPSTER_WIXL)
  message(WARNING "wixl (Debian package wixl, from msitools) was not found: no MSI package")
  return()
endif()

# wixl finds the files a package names only relative to the package's description.
file(COPY "${CPACK_TAPSTER_MSI_SOURCE}" "${CPACK_TAPSTER_MSI_ICON}" DESTINATION "${work}")
get_filename_component(description "${CPACK_TAPSTER_MSI_SOURCE}" NAME)
execute_process(
  COMMAND "${CPACK_TAPSTER_WIXL}" --arch x64 --output "${output}"
          --define "Version=${version}"
          --define "Publisher=${CPACK_PACKAGE_VENDOR}"
          --define "AboutUrl=${CPACK_TAPSTER_MSI_ABOUT_URL}"
          --define "HelpUrl=${CPACK_TAPSTER_MSI_HELP_URL}"
          "${work}/${description}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out)
# wixl reports some of its faults only on its error output, with a success status.
if(NOT result EQUAL 0 OR out MATCHES "ERROR|CRITICAL|unimplemented")
  file(REMOVE "${output}")
  message(FATAL_ERROR "wixl could not build ${output}:\n${out}")
endif()
message(STATUS "MSI package: ${output} generated.")
