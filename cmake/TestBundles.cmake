# Launchers the Windows and end-to-end tests run, built beside the test programs from the descriptions
# in tests/bundles and the test product line.
set(TEST_BUNDLES
    TestTwoPackages=two-packages
    TestMissingTransform=missing-transform
    TestGermanOnly=german-only
    TestOldProducts=old-products
    TestMissingPackageCode=missing-package-code
    TestCapitalX64=capital-x64
    TestUnsafePackageCode=unsafe-package-code
    TestFullLine=full-line)
foreach(bundle IN LISTS TEST_BUNDLES)
    string(REPLACE "=" ";" pair ${bundle})
    list(GET pair 0 name)
    list(GET pair 1 file)
    add_launcher_bundle(${name} ${CMAKE_SOURCE_DIR}/tests/bundles/${file}.bundle
        SEARCH ${TEST_PRODUCTS_DIR} DEPENDS test_products)
    add_dependencies(win_tests ${name})
    add_dependencies(e2e_tests ${name})
endforeach()
add_dependencies(win_tests QuenlisDemoSetup test_products)
add_dependencies(e2e_tests QuenlisDemoSetup test_products)

# A launcher carrying a stand-in for the MQTT broker's installer.
add_executable(FakeBrokerInstaller WIN32 ${CMAKE_SOURCE_DIR}/tools/fakebroker/FakeBrokerInstaller.cpp)
target_link_options(FakeBrokerInstaller PRIVATE -municode -static)
add_launcher_bundle(TestBroker ${CMAKE_SOURCE_DIR}/tests/bundles/broker.bundle
    SEARCH ${TEST_PRODUCTS_DIR} $<TARGET_FILE_DIR:FakeBrokerInstaller> DEPENDS test_products FakeBrokerInstaller)
add_dependencies(e2e_tests TestBroker)
add_dependencies(win_tests FakeBrokerInstaller) # also the WebView2 page's stand-in bootstrapper

# A desktop product's launcher with the WebView2 page, its stand-in bootstrapper and the tests' download
# server (tests/bundles/webview2-server.txt).
add_launcher_bundle(TestDesktop ${CMAKE_SOURCE_DIR}/tests/bundles/desktop.bundle
    SEARCH ${TEST_PRODUCTS_DIR} $<TARGET_FILE_DIR:FakeBrokerInstaller> ${CMAKE_SOURCE_DIR}/tests/bundles
    DEPENDS test_products FakeBrokerInstaller)
add_dependencies(e2e_tests TestDesktop)
