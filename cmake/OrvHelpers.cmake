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

# GoogleTest writes its results here. Under Wine a path must name its drive
# to be absolute; Z: is the root of the Unix file system there.
set(ORV_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
if(WIN32)
    set(ORV_TEST_RESULTS Z:${ORV_TEST_RESULTS})
endif()

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
    add_test(NAME ${area} COMMAND ${target} --gtest_output=xml:${ORV_TEST_RESULTS}/${area}.xml)
    orv_share_wine_prefix(${area})
endfunction()

# Wine keeps the user's locale in the prefix's registry and rewrites it from
# the environment whenever a program starts in another locale, so a German
# run beside another test changes that test's dates and separators under it.
# Under Wine the tests of a build therefore take turns.
function(orv_share_wine_prefix test)
    if(WIN32 AND CMAKE_HOST_UNIX)
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK wine-prefix)
    endif()
endfunction()

# Runs the tests of a suite matching FILTER again as test <area>-<name>, with
# the given environment (for example another locale or time zone).
function(orv_add_test_run area name)
    cmake_parse_arguments(RUN "" "FILTER" "ENVIRONMENT" ${ARGN})
    if(NOT TARGET orv_${area}_tests)
        return()
    endif()
    add_test(NAME ${area}-${name} COMMAND orv_${area}_tests --gtest_filter=${RUN_FILTER}
        --gtest_output=xml:${ORV_TEST_RESULTS}/${area}-${name}.xml)
    set_tests_properties(${area}-${name} PROPERTIES ENVIRONMENT "${RUN_ENVIRONMENT}")
    orv_share_wine_prefix(${area}-${name})
endfunction()
