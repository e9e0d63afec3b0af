# Run last when a package's files are staged (install(SCRIPT), with TAPSTER_SOURCE_DIR set):
# gives them the modes and the time (source_date.cmake) that every build of the commit gives
# them, whoever builds it with whatever umask and whenever. The installer and the zip store
# both.
include("${CMAKE_CURRENT_LIST_DIR}/source_date.cmake")
tapster_source_date(epoch date "${TAPSTER_SOURCE_DIR}")

set(staged "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(files "${staged}/tapster.exe" "${staged}/LICENSE.txt" "${staged}/README.txt")
file(CHMOD ${files} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD "${staged}/tapster.exe"
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                 WORLD_EXECUTE)
execute_process(COMMAND touch -d "@${epoch}" ${files} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not set the time of the staged files in ${staged}")
endif()
