# The string tables are data: one readable file per language under resources/strings. The generator
# writes the .rc string tables and fails the build when a language is incomplete or inconsistent.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB STRING_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/strings/*.txt)
set(GENERATED_STRINGS_RC ${CMAKE_BINARY_DIR}/generated/strings.rc)
add_custom_command(
    OUTPUT ${GENERATED_STRINGS_RC}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/strings/genrc.py
            ${CMAKE_SOURCE_DIR}/resources/strings ${GENERATED_STRINGS_RC}
    DEPENDS ${STRING_SOURCES} ${CMAKE_SOURCE_DIR}/tools/strings/genrc.py
    COMMENT "Generating string tables")
add_custom_target(generated_strings DEPENDS ${GENERATED_STRINGS_RC})
