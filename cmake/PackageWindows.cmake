# The Windows packages, both made by CPack from one installation tree:
#   fennock-1.0-win64.zip   portable: unpack anywhere and run fennock.exe
#   fennock-1.0-win64.exe   installer with a Start-menu entry and an uninstaller (NSIS)
# The tree: fennock.exe with the help documents and the licence beside it, where the Help menu
# looks first. The mergers and libraries travel inside fennock.exe.
if(NOT TARGET fennock)
  return()
endif()

# Packaging takes what was built; it does not start a build of its own (the package test runs
# cpack while the suite runs).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
install(TARGETS fennock RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION . PATTERN DEVELOPING.md EXCLUDE)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Fennock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Fennock developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file splitter that writes a merger beside the pieces")
set(CPACK_PACKAGE_FILE_NAME fennock-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Fennock)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Fennock)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/docs/license.txt)
# The Start-menu entry: fennock.exe under the name "Fennock".
set(CPACK_PACKAGE_EXECUTABLES fennock Fennock)
set(CPACK_NSIS_DISPLAY_NAME Fennock)
set(CPACK_NSIS_PACKAGE_NAME Fennock)
set(CPACK_NSIS_INSTALLED_ICON_NAME fennock.exe)
# A 64-bit installer for a 64-bit program: it installs under "Program Files", not its x86
# twin, and runs where no 32-bit subsystem is present.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
include(CPack)

if(FENNOCK_TESTS)
  add_test(NAME windows_package
           COMMAND ${PROJECT_SOURCE_DIR}/tests/install/WindowsPackageTest.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR}/cmake/wine-run)
  set_tests_properties(windows_package PROPERTIES LABELS windows FIXTURES_REQUIRED wine-prefix
                       SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
