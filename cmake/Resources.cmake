# cq_resources(NAME SCRIPT TEST_SOURCE): the resources of an add-in DLL, compiled from one
# resource script into the object library NAME, and a test program, named after
# TEST_SOURCE, that carries the same resources and loads them back under Wine.
# The script finds its bitmaps and icons beside it and may include "version.h"
# (CQ_VERSION_MAJOR, _MINOR, _BUILD, _REVISION and CQ_VERSION_STRING, from the project's
# version), which whatever links NAME sees too. A DLL takes the resources with
#   target_link_libraries(<dll> PRIVATE NAME)
function(cq_resources name script test_source)
    if(PROJECT_VERSION_TWEAK)
        set(CQ_VERSION_REVISION ${PROJECT_VERSION_TWEAK})
    else()
        set(CQ_VERSION_REVISION 0)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
                   ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
    get_filename_component(dir ${script} DIRECTORY)
    add_library(${name} OBJECT ${script})
    target_include_directories(${name} PRIVATE ${dir} PUBLIC ${PROJECT_BINARY_DIR}/generated)
    # Rebuild when a bitmap or icon changes.
    file(GLOB images CONFIGURE_DEPENDS ${dir}/*.bmp ${dir}/*.ico)
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${images}")

    get_filename_component(test ${test_source} NAME_WE)
    add_executable(${test} ${test_source})
    cq_warnings(${test})
    target_include_directories(${test} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${test} PRIVATE ${name} version ole32 oleaut32 uuid GTest::gtest_main)
    add_test(NAME ${test} COMMAND ${test})
endfunction()
