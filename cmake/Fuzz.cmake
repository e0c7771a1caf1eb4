# Fuzz build (native, clang only): the portable core instrumented for libFuzzer, with ASan and UBSan,
# and one fuzzer per parser in tests/fuzz. Configured by scripts/build.sh fuzz; run by scripts/fuzz.sh.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (libFuzzer): configure with CMAKE_CXX_COMPILER=clang++")
endif()

set(FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(launcher_core PUBLIC ${FUZZ_SANITIZERS} -fsanitize=fuzzer-no-link -g -O1)
target_link_options(launcher_core PUBLIC ${FUZZ_SANITIZERS})

set(FUZZ_TARGETS IniFileFuzzer XmlIniFileFuzzer JsonFuzzer CommandLineFuzzer PayloadHashesFuzzer)
foreach(fuzzer IN LISTS FUZZ_TARGETS)
    add_executable(${fuzzer} ${CMAKE_SOURCE_DIR}/tests/fuzz/${fuzzer}.cpp)
    target_link_libraries(${fuzzer} PRIVATE launcher_core)
    target_compile_options(${fuzzer} PRIVATE -fsanitize=fuzzer -Wall -Wextra)
    target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
endforeach()
