# Delay-load import libraries for the system DLLs the launcher calls. The loader would resolve an ordinary
# import before the launcher's first instruction, searching the launcher's own folder first for a DLL
# outside Windows' known DLLs (msi, cabinet, version, comctl32, crypt32, bcrypt); a delay-loaded DLL is
# loaded at its first call, after wWinMain has restricted the search to the system folder. The known DLLs
# are delay-loaded as well: a run that only prints its usage or checks its resources never loads the
# window, shell and COM libraries (and what they load in turn), which is most of its start-up time.
# Each name becomes an imported library target delay_<name>.
set(DELAY_LOADED_DLLS msi cabinet version comctl32 crypt32 bcrypt user32 gdi32 shell32 ole32 comdlg32 shlwapi
    ws2_32 advapi32)
set(DELAY_LIB_DIR ${CMAKE_BINARY_DIR}/delayload)
set(DELAY_LIB_TOOL ${CMAKE_SOURCE_DIR}/tools/delayload/delaylib.py)
set(DELAY_LIB_STUB ${CMAKE_SOURCE_DIR}/tools/delayload/coffstub.py)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(MAKE_DIRECTORY ${DELAY_LIB_DIR})
foreach(name IN LISTS DELAY_LOADED_DLLS)
    set(import_lib /usr/${MINGW_PREFIX}/lib/lib${name}.a)
    set(delay_lib ${DELAY_LIB_DIR}/lib${name}_delay.a)
    if(NOT EXISTS ${delay_lib} OR ${DELAY_LIB_TOOL} IS_NEWER_THAN ${delay_lib}
       OR ${DELAY_LIB_STUB} IS_NEWER_THAN ${delay_lib})
        execute_process(
            COMMAND ${Python3_EXECUTABLE} ${DELAY_LIB_TOOL} --nm ${MINGW_PREFIX}-nm --dlltool ${MINGW_PREFIX}-dlltool
                    --ar ${MINGW_PREFIX}-ar
                    ${import_lib} ${delay_lib}
            RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "Could not make the delay-load library of ${name} from ${import_lib}")
        endif()
    endif()
    add_library(delay_${name} STATIC IMPORTED)
    set_target_properties(delay_${name} PROPERTIES IMPORTED_LOCATION ${delay_lib})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DELAY_LIB_TOOL} ${DELAY_LIB_STUB})
