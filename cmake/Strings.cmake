# The string tables are data: one readable file per language under resources/strings. The generator
# writes the .rc string tables and StringIds.h (StringId::<name> for every English string), and fails the
# build when a language is incomplete or inconsistent or a name is unusable. Every tree generates them:
# portable code names its strings through StringIds.h, so the native and fuzz trees need it as well.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB STRING_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/strings/*.txt)
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(GENERATED_STRINGS_RC ${GENERATED_DIR}/strings.rc)
set(GENERATED_STRING_IDS ${GENERATED_DIR}/StringIds.h)
add_custom_command(
    OUTPUT ${GENERATED_STRINGS_RC} ${GENERATED_STRING_IDS}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/strings/genrc.py
            ${CMAKE_SOURCE_DIR}/resources/strings ${GENERATED_STRINGS_RC} ${GENERATED_STRING_IDS}
    DEPENDS ${STRING_SOURCES} ${CMAKE_SOURCE_DIR}/tools/strings/genrc.py
    COMMENT "Generating string tables and string ids")
add_custom_target(generated_strings DEPENDS ${GENERATED_STRINGS_RC} ${GENERATED_STRING_IDS})
