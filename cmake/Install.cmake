# Installation by the XDG conventions, and the Debian package built with CPack.
#   bin/fennock                                    the program
#   share/fennock/                                 the Help menu's documents
#   share/applications/fennock.desktop             the menu entry
#   share/icons/hicolor/{48x48,scalable}/apps/     the icon
#   share/doc/fennock/copyright                    the licence, where Debian looks for it
#   share/mime/packages/fennock.xml                the types of pieces and checksum files
#   share/man/man1/                                fennock(1) and fennock-merger(1)
#   share/bash-completion/completions/fennock      completion of the commands and options
include(GNUInstallDirs)

if(NOT TARGET fennock)
  return()
endif()

set(FENNOCK_DOCS_DIR ${CMAKE_INSTALL_DATADIR}/fennock)
# The program finds its installed documents relative to its own folder, so the installation
# can be moved as a whole.
file(RELATIVE_PATH fennock_docs_from_program /${CMAKE_INSTALL_BINDIR} /${FENNOCK_DOCS_DIR})
target_compile_definitions(app PRIVATE FENNOCK_DOCS_FROM_PROGRAM="${fennock_docs_from_program}")

# In the build tree the documents lie beside the program, as they lie beside an unpacked copy.
add_custom_target(fennock-docs
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/docs $<TARGET_FILE_DIR:fennock>
  COMMENT "Copying the help documents beside fennock")
add_dependencies(fennock fennock-docs)

# Installing and packaging take what was built; they do not start a build of their own (the
# package test runs cpack while the suite runs).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

install(TARGETS fennock RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${FENNOCK_DOCS_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/docs/license.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/fennock RENAME copyright)
# The desktop's triggers (shared-mime-info, man-db, desktop-file-utils) rebuild their caches
# when the package puts these in place, so the package needs no scripts of its own.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME fennock.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock.1 ${PROJECT_SOURCE_DIR}/packaging/fennock-merger.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/fennock.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME fennock)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fennock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Fennock developers")
set(CPACK_PACKAGE_CONTACT "The Fennock developers <support@fennock.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file splitter that writes a merger beside the pieces")
set(CPACK_PACKAGE_DESCRIPTION
    "Fennock cuts one large file into pieces of a chosen size or number, optionally \
compressing it into a ZIP archive first, and writes a merger beside the pieces: a small \
program, or a script for the Windows command interpreter, that joins them again on the \
receiving machine. It has a window and a terminal front end (fennock split).")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://fennock.example/")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The runtime libraries are read from the program itself when dpkg-shlibdeps is there;
# otherwise the packages of the libraries it links: FLTK, X11 and zlib.
find_program(FENNOCK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(FENNOCK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libfltk1.3, libx11-6, libxext6, libxft2, libxinerama1, libxcursor1, libxfixes3, libxrender1, libfontconfig1, zlib1g, libstdc++6, libc6")
endif()
include(CPack)

# The package's own test: built, unpacked into a private root and run there.
if(FENNOCK_TESTS AND EXISTS ${PROJECT_SOURCE_DIR}/tests/install/CMakeLists.txt)
  add_subdirectory(tests/install ${PROJECT_BINARY_DIR}/tests/install)
endif()
