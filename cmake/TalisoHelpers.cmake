# Collects the sources of one folder; new files are picked up at the next build.
function(taliso_glob_sources out)
    set(result)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

include(GoogleTest)

# CTest lists every test of a GoogleTest executable by itself, prefixed with the
# executable's name. The list is read when CTest runs (the executable needs no display
# at build time); each test runs in a process of its own, without a display.
function(taliso_discover_tests target)
    # The machine's printers are not the tests': unless a test starts a print system of
    # its own, the print dialogs find none and offer the PDF file.
    set(environment "QT_QPA_PLATFORM=offscreen;TALISO_BIN_DIR=${TALISO_BIN_DIR};TALISO_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        "CUPS_SERVER=${CMAKE_BINARY_DIR}/no-print-system.sock")
    if(TALISO_SANITIZE)
        # What the font and windowing libraries keep until exit is not ours to report.
        list(APPEND environment "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
    endif()
    gtest_discover_tests(${target} TEST_PREFIX "${target}." DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120 WORKING_DIRECTORY ${TALISO_BIN_DIR})
    # The discovered tests take their environment from a script CTest reads after the
    # list: a list-valued property does not survive being handed through discovery.
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_properties.cmake)
    file(WRITE ${script}
        "if(${target}_TESTS)\n"
        "    set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT \"${environment}\" TIMEOUT 900)\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# One test executable for the given test folders (a list, like the layers' folders they
# mirror).
function(taliso_add_test_dir name dirs)
    set(sources)
    foreach(dir IN LISTS dirs)
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TALISO_BIN_DIR})
    taliso_discover_tests(${name})
endfunction()
