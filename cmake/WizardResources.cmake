# The wizard's dialog templates (one per user-interface language) and its artwork, generated from data:
# resources/dialogs/*.dlg and tools/art/genart.py. launcher.rc includes the result.
file(GLOB WIZARD_DIALOG_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/dialogs/*.dlg)
set(WIZARD_ART_DIR ${CMAKE_BINARY_DIR}/generated/art)
set(GENERATED_WIZARD_RC ${CMAKE_BINARY_DIR}/generated/wizard.rc)
set(WIZARD_ART_FILES ${WIZARD_ART_DIR}/wizard-header.bmp ${WIZARD_ART_DIR}/wizard.ico
    ${WIZARD_ART_DIR}/warning.ico ${WIZARD_ART_DIR}/error.ico ${WIZARD_ART_DIR}/information.ico)
add_custom_command(
    OUTPUT ${WIZARD_ART_FILES}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/art/genart.py ${WIZARD_ART_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/genart.py
    COMMENT "Drawing the wizard artwork")
add_custom_command(
    OUTPUT ${GENERATED_WIZARD_RC}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/strings/gendialogs.py
            ${CMAKE_SOURCE_DIR}/resources/strings ${CMAKE_SOURCE_DIR}/resources/dialogs ${WIZARD_ART_DIR}
            ${GENERATED_WIZARD_RC}
    DEPENDS ${WIZARD_DIALOG_SOURCES} ${STRING_SOURCES} ${CMAKE_SOURCE_DIR}/tools/strings/gendialogs.py
            ${WIZARD_ART_FILES}
    COMMENT "Generating the wizard dialogs")
add_custom_target(generated_wizard_resources DEPENDS ${GENERATED_WIZARD_RC})
add_dependencies(generated_strings generated_wizard_resources)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/launcher.rc APPEND PROPERTY OBJECT_DEPENDS
    ${GENERATED_WIZARD_RC} ${WIZARD_ART_FILES})
