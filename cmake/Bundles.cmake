# Launchers that carry packages. A bundle description (see the README) names the packages, their codes,
# versions and transforms; tools/bundle/bundle.py turns it into a resource file, and the launcher's own
# code and resources are linked with it into one .exe. Works for both target architectures.
#
#   add_launcher_bundle(<name> <description> [SEARCH <folder>...] [DEPENDS <target>...])
#
# makes <name>.exe in the build folder. Files named in the description are looked up beside it first,
# then in the SEARCH folders; DEPENDS names targets that make those files.

set(BUNDLE_TOOL ${CMAKE_SOURCE_DIR}/tools/bundle/bundle.py)

function(add_launcher_bundle name description)
    cmake_parse_arguments(BUNDLE "" "" "SEARCH;DEPENDS" ${ARGN})
    get_filename_component(description ${description} ABSOLUTE)
    set(folder ${CMAKE_BINARY_DIR}/bundles)
    set(res ${folder}/${name}.res)
    set(object ${folder}/${name}.res.obj)
    set(search_args)
    foreach(search IN LISTS BUNDLE_SEARCH)
        list(APPEND search_args --search ${search})
    endforeach()
    add_custom_command(
        OUTPUT ${res}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${Python3_EXECUTABLE} ${BUNDLE_TOOL} ${description} ${res} ${search_args} --depfile ${res}.d
        DEPFILE ${res}.d
        DEPENDS ${description} ${BUNDLE_TOOL} ${BUNDLE_DEPENDS}
        COMMENT "Bundling ${name}")
    # The resource file becomes an object the linker merges with the launcher's own resources.
    add_custom_command(
        OUTPUT ${object}
        COMMAND ${CMAKE_RC_COMPILER} -i ${res} -o ${object}
        DEPENDS ${res})
    set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

    add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/launcher/app/WinMain_win.cpp
                   ${CMAKE_SOURCE_DIR}/resources/launcher.rc ${object})
    target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)
    target_link_libraries(${name} PRIVATE launcher_win)
    target_link_options(${name} PRIVATE -municode -mwindows)
    add_dependencies(${name} generated_strings)
endfunction()

# The test product line, used by the demo launcher and the tests.
include(cmake/TestProducts.cmake)

# The demo launcher: the main server, its companion and a further sub-package, in five languages.
add_launcher_bundle(QuenlisDemoSetup ${CMAKE_SOURCE_DIR}/tests/bundles/demo.bundle
    SEARCH ${TEST_PRODUCTS_DIR} DEPENDS test_products)

# Launchers of one's own: scripts/make-launcher.sh passes bundle descriptions here. Each becomes
# Launcher_<description's file name>.exe.
set(LAUNCHER_BUNDLES "" CACHE STRING "Bundle descriptions to build launchers from (list)")
foreach(description IN LISTS LAUNCHER_BUNDLES)
    get_filename_component(stem ${description} NAME_WE)
    string(MAKE_C_IDENTIFIER "Launcher_${stem}" target)
    add_launcher_bundle(${target} ${description})
endforeach()
