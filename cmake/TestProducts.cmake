# The test product line: real installer databases built from tests/products/*.wxs by wixl, and for each
# one a language transform per user-interface language (ProductLanguage and the product's own language
# property set), made by tools/bundle/msitransform.py, and the database packed in a cabinet of its own.
# Everything lands in TEST_PRODUCTS_DIR.

set(TEST_PRODUCTS_DIR ${CMAKE_BINARY_DIR}/products)
# Language id and the two-letter code a product registers for it.
set(TEST_PRODUCT_LANGUAGES 1031=de 1034=es 1036=fr 1041=ja 2052=zh)

file(GLOB TEST_PRODUCT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/products/*.wxs)
set(TEST_PRODUCT_SHARED ${CMAKE_SOURCE_DIR}/tests/products/QuenlisServer.wxi ${CMAKE_SOURCE_DIR}/tests/products/AskUser.js
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
    # The database alone in an MSZIP cabinet, as a workload names a package's data.
    set(cab ${TEST_PRODUCTS_DIR}/${stem}.cab)
    add_custom_command(
        OUTPUT ${cab}
        COMMAND gcab -c -z -n ${cab} ${msi}
        DEPENDS ${msi}
        COMMENT "Packing test product ${stem}.cab")
    list(APPEND test_product_outputs ${cab})
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
# Transforms that add files to the main product, for the tests of the transform step: one uncompressed
# file (a short|long FileName), and one compressed file with Sequence 12 on the second of two new disks.
set(test_row_transform_base ${TEST_PRODUCTS_DIR}/HalvoraServer101.msi)
set(test_row_transform_tool ${CMAKE_SOURCE_DIR}/tools/bundle/msirowtransform.py)
add_custom_command(
    OUTPUT ${TEST_PRODUCTS_DIR}/AddUncompressedFile.mst
    COMMAND ${Python3_EXECUTABLE} ${test_row_transform_tool} ${test_row_transform_base}
            ${TEST_PRODUCTS_DIR}/AddUncompressedFile.mst "File:ExtraNotes:Application:EXTRA~1.TXT|ExtraNotes.txt:5:::8192:2"
    DEPENDS ${test_row_transform_base} ${test_row_transform_tool} ${CMAKE_SOURCE_DIR}/tools/bundle/msitransform.py
    VERBATIM)
add_custom_command(
    OUTPUT ${TEST_PRODUCTS_DIR}/AddCompressedFile.mst
    COMMAND ${Python3_EXECUTABLE} ${test_row_transform_tool} ${test_row_transform_base}
            ${TEST_PRODUCTS_DIR}/AddCompressedFile.mst "Media:2:10::CabinetA.cab::" "Media:3:20::CabinetB.cab::"
            "File:Packed:Application:Packed.dll:7:::16384:12"
    DEPENDS ${test_row_transform_base} ${test_row_transform_tool} ${CMAKE_SOURCE_DIR}/tools/bundle/msitransform.py
    VERBATIM)
list(APPEND test_product_outputs ${TEST_PRODUCTS_DIR}/AddUncompressedFile.mst ${TEST_PRODUCTS_DIR}/AddCompressedFile.mst)

add_custom_target(test_products ALL DEPENDS ${test_product_outputs})
