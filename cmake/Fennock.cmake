# Helpers shared by every module's CMakeLists.

# fennock_test(NAME SOURCES... LIBS libs...): one GoogleTest executable registered with ctest.
function(fennock_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(WIN32)
    # Once per program, not per test case: every start under Wine costs.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS windows FIXTURES_REQUIRED wine-prefix
      ENVIRONMENT "FENNOCK_BUILD_DIR=${PROJECT_BINARY_DIR}")
    return()
  endif()
  # One variable only: gtest_discover_tests splits property values at semicolons.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "FENNOCK_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
