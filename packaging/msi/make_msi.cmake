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

if(NOT CPACK_TAPSTER_WIXL OR NOT CPACK_TAPSTER_MSIBUILD)
  message(WARNING "wixl or msibuild (Debian packages wixl and msitools) was not found: no MSI package")
  return()
endif()

include("${CMAKE_CURRENT_LIST_DIR}/../source_date.cmake")
tapster_source_date(epoch date "${CPACK_TAPSTER_SOURCE_DIR}")
# The same bytes from every build of a commit. wixl gives the package the current time and
# random product and package codes. The product code is made from the version: the same in
# every build of it, another in each version (each replaces the one before); the package
# code below. wixl and msibuild run at the commit's time, by faketime (Debian's wixl reads no
# SOURCE_DATE_EPOCH), in UTC (the cabinet holds the files' times as local times).
string(UUID product_code NAMESPACE "${CPACK_TAPSTER_MSI_UPGRADE_CODE}" NAME "Tapster ${version}"
       TYPE SHA1 UPPER)
set(at_commit_time "${CMAKE_COMMAND}" -E env TZ=UTC)
find_program(faketime faketime)
if(faketime)
  list(APPEND at_commit_time "${faketime}" -f "${date}")
else()
  message(WARNING "faketime (Debian package faketime) was not found: the MSI holds the time "
                  "it was built, and differs from build to build")
endif()

# wixl finds the files a package names only relative to the package's description.
file(COPY "${CPACK_TAPSTER_MSI_SOURCE}" "${CPACK_TAPSTER_MSI_ICON}" DESTINATION "${work}")
get_filename_component(description "${CPACK_TAPSTER_MSI_SOURCE}" NAME)
execute_process(
  COMMAND ${at_commit_time} "${CPACK_TAPSTER_WIXL}" --arch x64 --output "${output}"
          --define "Version=${version}"
          --define "ProductCode=${product_code}"
          --define "UpgradeCode=${CPACK_TAPSTER_MSI_UPGRADE_CODE}"
          --define "Publisher=${CPACK_PACKAGE_VENDOR}"
          --define "AboutUrl=${CPACK_TAPSTER_ABOUT_URL}"
          --define "HelpUrl=${CPACK_TAPSTER_HELP_URL}"
          "${work}/${description}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out)
# wixl reports some of its faults only on its error output, with a success status.
if(NOT result EQUAL 0 OR out MATCHES "ERROR|CRITICAL|unimplemented")
  file(REMOVE "${output}")
  message(FATAL_ERROR "wixl could not build ${output}:\n${out}")
endif()

# The package code must change whenever the package does: it is made from all that the
# package is made of. (Not from the package itself: wixl leaves the random code it chose in
# parts of the file that msibuild frees but does not clear.)
set(inputs "${version}|${epoch}|${CPACK_PACKAGE_VENDOR}|${CPACK_TAPSTER_ABOUT_URL}|${CPACK_TAPSTER_HELP_URL}")
file(GLOB files LIST_DIRECTORIES false RELATIVE "${work}" "${work}/*")
list(SORT files)
foreach(file IN LISTS files)
  file(SHA256 "${work}/${file}" sha256)
  string(APPEND inputs "|${file} ${sha256}")
endforeach()
string(UUID package_code NAMESPACE "${CPACK_TAPSTER_MSI_UPGRADE_CODE}" NAME "${inputs}"
       TYPE SHA1 UPPER)
# msibuild -s sets the summary's subject, author, template and package code together.
execute_process(
  COMMAND ${at_commit_time} "${CPACK_TAPSTER_MSIBUILD}" "${output}"
          -s "Tapster ${version}" "${CPACK_PACKAGE_VENDOR}" "x64;1033" "{${package_code}}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${output}")
  message(FATAL_ERROR "msibuild could not set the package code of ${output}")
endif()

if(CPACK_TAPSTER_SIGN_COMMAND)
  execute_process(COMMAND "${CPACK_TAPSTER_SIGN_COMMAND}" "${output}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    file(REMOVE "${output}")
    message(FATAL_ERROR "${output} could not be signed (see above)")
  endif()
endif()
message(STATUS "MSI package: ${output} generated.")
