# The test product line: real installer databases built from tests/products/*.wxs by wixl, and for each
# one a language transform per user-interface language (ProductLanguage and the product's own language
# property set), made by tools/bundle/msitransform.py. Everything lands in TEST_PRODUCTS_DIR.

set(TEST_PRODUCTS_DIR ${CMAKE_BINARY_DIR}/products)
# Language id and the two-letter code a product registers for it.
set(TEST_PRODUCT_LANGUAGES 1031=de 1034=es 1036=fr 1041=ja 2052=zh)

file(GLOB TEST_PRODUCT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/products/*.wxs)
set(TEST_PRODUCT_SHARED ${CMAKE_SOURCE_DIR}/tests/products/QuenlisServer.wxi
    ${CMAKE_SOURCE_DIR}/tests/products/payload/Application.txt ${CMAKE_SOURCE_DIR}/tools/bundle/wixmsi.py)
set(test_product_outputs)
foreach(source IN LISTS TEST_PRODUCT_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    set(msi ${TEST_PRODUCTS_DIR}/${stem}.msi)
    add_custom_command(
        OUTPUT ${msi}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TEST_PRODUCTS_DIR}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/bundle/wixmsi.py ${source} ${msi} x64
        DEPENDS ${source} ${TEST_PRODUCT_SHARED}
        COMMENT "Building test product ${stem}.msi")
    list(APPEND test_product_outputs ${msi})
    foreach(language IN LISTS TEST_PRODUCT_LANGUAGES)
        string(REPLACE "=" ";" pair ${language})
        list(GET pair 0 id)
        list(GET pair 1 code)
        set(mst ${TEST_PRODUCTS_DIR}/${stem}_${id}.mst)
        add_custom_command(
            OUTPUT ${mst}
            COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/bundle/msitransform.py ${msi} ${mst} ${id}
                    ProductLanguage=${id} QUENLIS_LANGUAGE=${code}
            DEPENDS ${msi} ${CMAKE_SOURCE_DIR}/tools/bundle/msitransform.py
                    ${CMAKE_SOURCE_DIR}/tools/bundle/compoundfile.py)
        list(APPEND test_product_outputs ${mst})
    endforeach()
endforeach()
add_custom_target(test_products ALL DEPENDS ${test_product_outputs})
