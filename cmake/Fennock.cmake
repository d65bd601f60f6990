# Helpers shared by every module's CMakeLists.

# fennock_test_paths(TARGET): the test program finds the build's programs by the paths the build
# gives them (support/Programs.h), wherever it is started from.
function(fennock_test_paths name)
  if(TARGET fennock)
    target_compile_definitions(${name} PRIVATE FENNOCK_PROGRAM="$<TARGET_FILE:fennock>")
  endif()
endfunction()

# fennock_test(NAME SOURCES... LIBS libs...): one GoogleTest executable registered with ctest.
function(fennock_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  fennock_test_paths(${name})
  if(WIN32)
    # Once per program, not per test case: every start under Wine costs.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS windows FIXTURES_REQUIRED wine-prefix)
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# fennock_display_test(TARGET): registers a Windows test program that makes windows. Wine makes
# windows only on a display: a private one, and a prefix of its own whose desktop lives there.
function(fennock_display_test name)
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-xvfb
           ${PROJECT_SOURCE_DIR}/cmake/wine-run --prefix=${PROJECT_BINARY_DIR}/wineprefix-display
           $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS windows SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
