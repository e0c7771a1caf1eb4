# GoogleTest built with mingw from the sources Debian ships, and the test programs run under wine64.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(LAUNCHER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# Windows layer tests: real registry keys, files and packages.
file(GLOB_RECURSE WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES})
target_link_libraries(win_tests PRIVATE launcher_win gtest gmock gtest_main)
# The wizard tests drive the wizard with the same driver the end-to-end tests use.
file(GLOB DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/driver/*.cpp)
target_sources(win_tests PRIVATE ${DRIVER_SOURCES})
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/driver)
add_test(NAME win_tests COMMAND win_tests)
# The string-table tests read the real launcher's resources.
add_dependencies(win_tests SetupLauncher)

# End-to-end runs of the real launcher .exe, with a driver for its windows.
file(GLOB_RECURSE E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp
    ${CMAKE_SOURCE_DIR}/tools/driver/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES})
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/driver)
target_link_libraries(e2e_tests PRIVATE launcher_win gtest gmock gtest_main)
target_compile_definitions(e2e_tests PRIVATE LAUNCHER_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(e2e_tests SetupLauncher InstalledProducts PlantedDll)
# A DLL that marks its own loading, planted beside launchers by the hardened-loading run.
add_library(PlantedDll SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/PlantedDll.c)
set_target_properties(PlantedDll PROPERTIES PREFIX "")
add_test(NAME e2e_tests COMMAND e2e_tests)

set_tests_properties(win_tests e2e_tests PROPERTIES
    ENVIRONMENT "WINEPREFIX=${LAUNCHER_WINEPREFIX};WINEDEBUG=-all"
    TIMEOUT 900)

include(cmake/TestData.cmake)
include(cmake/TestBundles.cmake)
