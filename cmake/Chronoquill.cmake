# Helpers shared by every folder's CMakeLists.

# Warnings as errors on both compilers.
function(cq_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                                             -Wno-missing-field-initializers)
    # GCC 12 reports std::string concatenation at -O2 as overlapping memcpy
    # (GCC bug 105329), a false positive.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

# A library made of every source in DIR (no subfolders). An empty folder gives
# an interface library, so that a part can be started without touching this file.
function(cq_library name dir)
    file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_compile_features(${name} PUBLIC cxx_std_20)
        cq_warnings(${name})
        target_link_libraries(${name} PUBLIC ${ARGN})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_compile_features(${name} INTERFACE cxx_std_20)
        target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
endfunction()

# One test program per *_test.cpp in DIR, each a CTest test of its own name.
function(cq_tests dir)
    file(GLOB tests CONFIGURE_DEPENDS "${dir}/*_test.cpp")
    foreach(src IN LISTS tests)
        get_filename_component(name ${src} NAME_WE)
        # Tests of a deliverable that this build does not make.
        if(name IN_LIST CQ_TESTS_NOT_BUILT)
            continue()
        endif()
        add_executable(${name} ${src})
        cq_warnings(${name})
        target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
        add_test(NAME ${name} COMMAND ${name})
    endforeach()
endfunction()
