# The Windows programs, cross-built with mingw-w64 from the same sources into build/windows and
# tested under Wine as part of this build's test run. Without the cross compiler or Wine the
# Linux build goes on alone, and its `fennock` then writes Linux mergers only.
# Sets FENNOCK_WINDOWS_MERGER and FENNOCK_WINDOWS_UNPACKLIB (the cross build's outputs, which the
# payload pipeline in src/tools packs beside the Linux ones), FENNOCK_WINDOWS_DIR and
# FENNOCK_WINDOWS_PROGRAM (fennock.exe, built after the Linux merger) when the cross build is on.
set(FENNOCK_WINDOWS_MERGER "")
set(FENNOCK_WINDOWS_PROGRAM "")
set(FENNOCK_WINDOWS_UNPACKLIB "")
if(NOT FENNOCK_WINDOWS OR FENNOCK_SANITIZE)
  return()
endif()
find_program(FENNOCK_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(FENNOCK_WINE wine)
find_program(FENNOCK_MINGW_STRIP x86_64-w64-mingw32-strip)
if(NOT FENNOCK_MINGW_CXX OR NOT FENNOCK_WINE OR NOT FENNOCK_MINGW_STRIP)
  message(STATUS "Windows build: off (x86_64-w64-mingw32-g++-posix, its strip and wine are "
                 "needed; scripts/setup installs them)")
  return()
endif()
message(STATUS "Windows build: on, in ${PROJECT_BINARY_DIR}/windows, tested under Wine")

include(ExternalProject)
set(windows_dir ${PROJECT_BINARY_DIR}/windows)
set(FENNOCK_WINDOWS_DIR ${windows_dir})
set(FENNOCK_WINDOWS_MERGER ${windows_dir}/src/merger/fennock-merger.exe)
set(FENNOCK_WINDOWS_PROGRAM ${windows_dir}/src/app/fennock.exe)
set(FENNOCK_WINDOWS_UNPACKLIB ${windows_dir}/src/unpacklib/UnpackLib.dll)
ExternalProject_Add(windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windows_dir}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DFENNOCK_TESTS=${FENNOCK_TESTS}
             -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
             -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
             # What fennock.exe carries of this build, for its second step (target
             # windows-program in src/tools): the stripped Linux merger and libunpack, and the
             # packing tool, which runs on this machine.
             -DFENNOCK_HOST_EMBED=$<TARGET_FILE:fennock-embed>
             -DFENNOCK_LINUX_MERGER=${PROJECT_BINARY_DIR}/payloads/merger.linked
             -DFENNOCK_LINUX_UNPACKLIB=${PROJECT_BINARY_DIR}/payloads/UnpackLib.so
  # Sources change under the Linux build's feet: always ask the cross build what is out of date.
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${FENNOCK_WINDOWS_MERGER} ${FENNOCK_WINDOWS_UNPACKLIB}
  USES_TERMINAL_BUILD ON)

if(FENNOCK_TESTS)
  enable_testing()
  # One entry here runs the whole Windows suite (each test program once, under one wine server).
  add_test(NAME windows_suite
           COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${windows_dir} --output-on-failure
                   --timeout 600)
  set_tests_properties(windows_suite PROPERTIES LABELS "windows;no-sanitize" TIMEOUT 1800)
endif()
