# Windows build (mingw-w64): the Windows layer, the launcher .exe, and the tests that run under wine64.
set(WIN_DEFINES UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
include(cmake/DelayLoad.cmake)
set(WIN_SYSTEM_LIBS delay_msi delay_cabinet delay_version delay_shell32 delay_ole32 uuid delay_advapi32 delay_user32
    delay_gdi32 delay_comctl32 delay_crypt32 delay_bcrypt delay_shlwapi delay_comdlg32)
target_compile_definitions(launcher_core PUBLIC ${WIN_DEFINES})
target_compile_options(launcher_core PRIVATE -Wall -Wextra)
# Everything static, so the .exe needs no runtime DLLs beside it.
add_link_options(-static -static-libgcc -static-libstdc++)
# Sections at page boundaries in the file, so that Wine maps the image (as Windows always does) instead of
# copying it into private memory: the package cabinets are read in place from the mapped resources.
add_link_options(-Wl,--file-alignment,4096)

# Release builds are what people download and start: built for size (the launcher's time goes into
# Windows Installer, FDI and the network, not into its own code), unused functions and data dropped at
# link time, no symbols or debug information. They are also reproducible: no link time stamp and no
# folder of the build in the program, so two builds of one bundle description are byte-identical.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
    set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
    set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
    add_compile_options(-ffunction-sections -fdata-sections -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                        -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
    add_link_options(-Wl,--gc-sections -s -Wl,--no-insert-timestamp)
endif()

# libcurl, static, built into this tree from Debian's source package by scripts/build-curl.sh.
set(CURL_INSTALL ${CMAKE_BINARY_DIR}/curl/install)
if(NOT EXISTS ${CURL_INSTALL}/lib/libcurl.a)
    message(FATAL_ERROR "libcurl is missing: run scripts/build.sh (or scripts/build-curl.sh) for this tree")
endif()
add_library(curl_static STATIC IMPORTED)
set_target_properties(curl_static PROPERTIES IMPORTED_LOCATION ${CURL_INSTALL}/lib/libcurl.a
    INTERFACE_INCLUDE_DIRECTORIES ${CURL_INSTALL}/include INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES "delay_ws2_32;delay_crypt32;delay_bcrypt;secur32;delay_advapi32")

add_library(launcher_win STATIC ${WIN_SOURCES})
target_link_libraries(launcher_win PUBLIC launcher_core ${WIN_SYSTEM_LIBS} curl_static)
target_compile_options(launcher_win PRIVATE -Wall -Wextra)

# The launcher program. Resources: manifest, version, and the generated string tables (cmake/Strings.cmake,
# included by the top CMakeLists.txt).
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h)
include(cmake/WizardResources.cmake)
add_executable(SetupLauncher WIN32
    ${CMAKE_SOURCE_DIR}/launcher/app/WinMain_win.cpp
    ${CMAKE_SOURCE_DIR}/resources/launcher.rc)
target_include_directories(SetupLauncher PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/launcher.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_SOURCE_DIR}/resources/SetupLauncher.manifest ${CMAKE_SOURCE_DIR}/resources/webview2-licence.rtf
    ${GENERATED_STRINGS_RC})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/resources")
target_link_libraries(SetupLauncher PRIVATE launcher_win)
target_link_options(SetupLauncher PRIVATE -municode -mwindows)
add_dependencies(SetupLauncher generated_strings)

# Launchers built from bundle descriptions, the test product line and the demo launcher.
include(cmake/Bundles.cmake)

# The demo's console tool: what Windows Installer reports installed, and a product's uninstall command.
add_executable(InstalledProducts ${CMAKE_SOURCE_DIR}/tools/demo/InstalledProducts.cpp)
target_compile_definitions(InstalledProducts PRIVATE ${WIN_DEFINES})
target_link_libraries(InstalledProducts PRIVATE msi advapi32)
target_link_options(InstalledProducts PRIVATE -municode)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    include(cmake/WindowsTests.cmake)
endif()
