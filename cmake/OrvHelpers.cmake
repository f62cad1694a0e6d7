# Copies the mingw-w64 shared runtime beside the binaries. The library passes
# C++ objects and exceptions across its boundary, so every module must share
# one libstdc++ and one libgcc, as a shipped product would carry them.
function(orv_copy_mingw_runtime destination)
    file(MAKE_DIRECTORY ${destination})
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(
            COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "mingw runtime ${dll} not found (got '${path}')")
        endif()
        file(COPY ${path} DESTINATION ${destination})
    endforeach()
endfunction()

# A GoogleTest executable made of every *Test.cpp in tests/<area>/, run by
# CTest as one test that writes its results to test-results/<area>.xml. It
# links the library, or the targets named after LINK.
function(orv_add_test_suite area)
    cmake_parse_arguments(SUITE "" "" "LINK" ${ARGN})
    if(NOT SUITE_LINK)
        set(SUITE_LINK orvcommon)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/*Test.cpp)
    if(NOT sources)
        return()
    endif()
    set(target orv_${area}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${SUITE_LINK} GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    # Under Wine a path must name its drive to be absolute; Z: is the root of
    # the Unix file system there.
    set(results ${CMAKE_BINARY_DIR}/test-results/${area}.xml)
    if(WIN32)
        set(results Z:${results})
    endif()
    add_test(NAME ${area} COMMAND ${target} --gtest_output=xml:${results})
endfunction()
