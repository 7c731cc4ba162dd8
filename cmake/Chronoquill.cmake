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

# cq_tests(DIR NAME LIBS...): one test program NAME of every *_test.cpp in DIR,
# one CTest test: under Wine each program pays the start-up of a process.
# Files named in CQ_TESTS_NOT_BUILT test what this build does not make.
function(cq_tests dir name)
    file(GLOB tests CONFIGURE_DEPENDS "${dir}/*_test.cpp")
    set(sources)
    foreach(src IN LISTS tests)
        get_filename_component(file ${src} NAME_WE)
        if(NOT file IN_LIST CQ_TESTS_NOT_BUILT)
            list(APPEND sources ${src})
        endif()
    endforeach()
    add_executable(${name} ${sources})
    cq_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# cq_idl(TARGET IDL [TYPELIB]): compiles IDL with widl into a C++ header in
# the build's idl/ folder (cq_common_win32 puts it on the include path, as
# <NAME.h>), made before TARGET is built. With TYPELIB also into a type library
# that goes into TARGET (a DLL) as its TYPELIB resource 1, where LoadTypeLibEx
# finds it. Every .idl imports common/win32's OfficeAddIn.idl; a library
# imports stdole2.tlb, which Wine's own Windows files provide.
set(CQ_IDL_DIR ${PROJECT_BINARY_DIR}/idl)
file(MAKE_DIRECTORY ${CQ_IDL_DIR})
function(cq_idl target idl)
    cmake_parse_arguments(arg "TYPELIB" "" "" ${ARGN})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(arch --win64)
    else()
        set(arch --win32)
    endif()
    find_program(CQ_WIDL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-widl widl REQUIRED)
    get_filename_component(name ${idl} NAME_WE)
    set(shared ${PROJECT_SOURCE_DIR}/common/win32)
    set(widl ${CQ_WIDL} ${arch} -I ${shared})
    set(header ${CQ_IDL_DIR}/${name}.h)
    set(outputs ${header})
    set(commands COMMAND ${widl} -h -o ${header} ${idl})
    if(arg_TYPELIB)
        find_path(CQ_STDOLE_DIR stdole2.tlb REQUIRED NO_CMAKE_FIND_ROOT_PATH
                  PATHS /usr/lib/i386-linux-gnu/wine/i386-windows
                        /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
        set(tlb ${CMAKE_CURRENT_BINARY_DIR}/${name}.tlb)
        set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_typelib.rc)
        list(APPEND outputs ${tlb})
        list(APPEND commands COMMAND ${widl} -t -L ${CQ_STDOLE_DIR} -o ${tlb} ${idl})
        file(WRITE ${rc} "1 TYPELIB \"${tlb}\"\n")
        set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
        target_sources(${target} PRIVATE ${rc})
    endif()
    add_custom_command(OUTPUT ${outputs} ${commands}
                       DEPENDS ${idl} ${shared}/OfficeTypes.idl ${shared}/OfficeAddIn.idl
                       COMMENT "widl ${name}.idl")
    add_custom_target(${name}_idl DEPENDS ${outputs})
    add_dependencies(${target} ${name}_idl)
endfunction()
