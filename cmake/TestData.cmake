# Cabinets for the Windows tests, made at build time (gcab for real MSZIP cabinets, a small writer for the
# damaged and hostile ones), and a small full disk for the disk-full tests.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(GCAB_PROGRAM gcab REQUIRED)

set(TEST_CABINETS_DIR ${CMAKE_BINARY_DIR}/testdata/cabinets)
set(TEST_CABINETS_RC ${TEST_CABINETS_DIR}/test_cabinets.rc)
add_custom_command(
    OUTPUT ${TEST_CABINETS_RC} ${TEST_CABINETS_DIR}/sample.res ${TEST_CABINETS_DIR}/transform_de.bin
        ${TEST_CABINETS_DIR}/payload_hashes.txt
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/testdata/make_test_cabinets.py ${TEST_CABINETS_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/testdata/make_test_cabinets.py
    COMMENT "Making test cabinets"
    VERBATIM)
add_custom_target(test_cabinets DEPENDS ${TEST_CABINETS_RC})
set_property(SOURCE ${TEST_CABINETS_RC} APPEND PROPERTY OBJECT_DEPENDS
    ${TEST_CABINETS_DIR}/sample.res ${TEST_CABINETS_DIR}/transform_de.bin ${TEST_CABINETS_DIR}/payload_hashes.txt)
target_sources(win_tests PRIVATE ${TEST_CABINETS_RC})
add_dependencies(win_tests test_cabinets)

# A 128 KB tmpfs beside the test program, so that a write fails with the system's own disk-full error.
# Mounting needs root; without it the disk-full tests skip themselves.
set(FULL_DISK_DIR ${CMAKE_BINARY_DIR}/testdata/fulldisk)
add_test(NAME full_disk_mount COMMAND sh ${CMAKE_SOURCE_DIR}/tools/testdata/full_disk.sh mount ${FULL_DISK_DIR})
add_test(NAME full_disk_unmount COMMAND sh ${CMAKE_SOURCE_DIR}/tools/testdata/full_disk.sh unmount ${FULL_DISK_DIR})
set_tests_properties(full_disk_mount PROPERTIES FIXTURES_SETUP full_disk)
set_tests_properties(full_disk_unmount PROPERTIES FIXTURES_CLEANUP full_disk)
set_property(TEST win_tests APPEND PROPERTY FIXTURES_REQUIRED full_disk)

# Launchers of the extract-all tests (the bundle tool finds the sub-folder files among the test cabinets'
# sources).
add_launcher_bundle(TestExtractFolders ${CMAKE_SOURCE_DIR}/tests/bundles/extract-folders.bundle
    SEARCH ${TEST_PRODUCTS_DIR} ${TEST_CABINETS_DIR}/source DEPENDS test_products test_cabinets)
add_launcher_bundle(TestTaxonomy ${CMAKE_SOURCE_DIR}/tests/bundles/taxonomy.bundle
    SEARCH ${TEST_CABINETS_DIR}/source DEPENDS test_cabinets)
add_launcher_bundle(TestTaxonomyAfterMsi ${CMAKE_SOURCE_DIR}/tests/bundles/taxonomy-after-msi.bundle
    SEARCH ${TEST_PRODUCTS_DIR} ${TEST_CABINETS_DIR}/source DEPENDS test_products test_cabinets)
add_dependencies(e2e_tests TestExtractFolders TestTaxonomy TestTaxonomyAfterMsi)
set_property(TEST e2e_tests APPEND PROPERTY FIXTURES_REQUIRED full_disk)
