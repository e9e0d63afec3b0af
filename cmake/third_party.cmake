# Libraries come from the system: Debian's packages on Linux (also for the cross build, since
# both are header-only or built from source here), vcpkg or similar on Windows. Nothing is
# downloaded at build time.

# nlohmann/json is header-only; only the tests use it, to read the settings file apart from
# the program's own reader. The cross build must not see the Linux include directory as a
# whole, so the one header folder is copied into the build tree.
find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND)
  find_path(TAPSTER_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TAPSTER_NLOHMANN_DIR)
    message(FATAL_ERROR "nlohmann/json not found: install nlohmann-json3-dev (Debian) or nlohmann-json (vcpkg)")
  endif()
  file(COPY "${TAPSTER_NLOHMANN_DIR}/nlohmann" DESTINATION "${CMAKE_BINARY_DIR}/third_party/include")
  add_library(nlohmann_json INTERFACE)
  target_include_directories(nlohmann_json SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/third_party/include")
  add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
endif()

if(TAPSTER_TESTS)
  set(TAPSTER_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources to build with the project")
  if(CMAKE_CROSSCOMPILING AND EXISTS "${TAPSTER_GOOGLETEST_SOURCE}/CMakeLists.txt")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory("${TAPSTER_GOOGLETEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    # GoogleTest's own sources are not held to the project's warning level, and, like the
    # tests' own code, are built unoptimised (tests/CMakeLists.txt says why).
    foreach(target gtest gtest_main gmock gmock_main)
      target_compile_options(${target} PRIVATE -Wno-error -O0)
    endforeach()

  else()
    find_package(GTest REQUIRED)
  endif()
endif()
