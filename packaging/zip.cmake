# CPack's zip holds the builder's user and group, and times in the builder's time zone. This
# writes it again, after CPack has made it (a post-build script): its entries in sorted order,
# with no extra fields, at the staged files' time (reproducible.cmake) read as UTC.
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
find_program(TAPSTER_ZIP zip)
if(NOT TAPSTER_ZIP)
  message(FATAL_ERROR "zip (Debian package zip) was not found: it writes the portable zip")
endif()
list(FILTER CPACK_PACKAGE_FILES INCLUDE REGEX "\\.zip$")
file(GLOB entries LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_DIRECTORY}"
     "${CPACK_TEMPORARY_DIRECTORY}/*")
list(SORT entries)
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  file(REMOVE "${zip}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC "${TAPSTER_ZIP}" -X -D -q "${zip}" ${entries}
    WORKING_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}"
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "zip could not write ${zip}")
  endif()
endforeach()
