# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model, for std::thread),
# run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FENNOCK_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${FENNOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FENNOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FENNOCK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FENNOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing of MinGW's own runtime DLLs travels along with a program or library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# Static archives only: an import library would pull a DLL in at run time.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
# FindZLIB takes zlib's import library (libz.dll.a) where it can: the static archive is named
# here (for the release configurations too, which a build folder may have cached already).
set(ZLIB_LIBRARY ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)
set(ZLIB_LIBRARY_RELEASE ${ZLIB_LIBRARY})

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
