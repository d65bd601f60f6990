# The Windows programs, cross-built with mingw-w64 from the same sources into build/windows and
# tested under Wine as part of this build's test run. Without the cross compiler or Wine the
# Linux build goes on alone.
if(NOT FENNOCK_WINDOWS OR FENNOCK_SANITIZE)
  return()
endif()
find_program(FENNOCK_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(FENNOCK_WINE wine)
if(NOT FENNOCK_MINGW_CXX OR NOT FENNOCK_WINE)
  message(STATUS "Windows build: off (x86_64-w64-mingw32-g++-posix and wine are needed; "
                 "scripts/setup installs them)")
  return()
endif()
message(STATUS "Windows build: on, in ${PROJECT_BINARY_DIR}/windows, tested under Wine")

include(ExternalProject)
set(windows_dir ${PROJECT_BINARY_DIR}/windows)
ExternalProject_Add(windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windows_dir}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DFENNOCK_TESTS=${FENNOCK_TESTS}
             -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
             -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
  # Sources change under the Linux build's feet: always ask the cross build what is out of date.
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

if(FENNOCK_TESTS)
  # One entry here runs the whole Windows suite (each test program once, under one wine server).
  add_test(NAME windows_suite
           COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${windows_dir} --output-on-failure
                   --timeout 600)
  set_tests_properties(windows_suite PROPERTIES LABELS "windows;no-sanitize" TIMEOUT 1800)
endif()
