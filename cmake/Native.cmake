# Native build: the portable core and its unit tests, under AddressSanitizer and UBSan.
option(LAUNCHER_SANITIZE "Build the native tests with ASan and UBSan" ON)
if(LAUNCHER_SANITIZE)
    set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_compile_options(launcher_core PUBLIC ${SANITIZER_FLAGS})
    target_link_options(launcher_core PUBLIC ${SANITIZER_FLAGS})
endif()

find_package(GTest REQUIRED)
file(GLOB_RECURSE NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(core_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE launcher_core GTest::gtest_main GTest::gmock)
target_compile_options(core_tests PRIVATE -Wall -Wextra)
add_test(NAME core_tests COMMAND core_tests)

# The string tables: the generator's own checks, and the real tables of every language through them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME string_table_generator
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/genrc_test.py)
add_test(NAME string_tables
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/strings/genrc.py ${CMAKE_SOURCE_DIR}/resources/strings)
# The bundle tools: compound files, transforms, descriptions and the resource file they make.
add_test(NAME bundle_tools COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/bundle_test.py)
