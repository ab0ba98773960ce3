# Collects the sources of one folder; new files are picked up at the next build.
function(taliso_glob_sources out)
    set(result)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# One test executable per test folder, run by CTest without a display.
function(taliso_add_test_dir name dir)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TALISO_BIN_DIR})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${TALISO_BIN_DIR})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TALISO_BIN_DIR=${TALISO_BIN_DIR};TALISO_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        TIMEOUT 900)
endfunction()
