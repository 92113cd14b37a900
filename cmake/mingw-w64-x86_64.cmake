# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (GCC, posix threads, so that
# std::thread works), for the game and the libraries built for it alike:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_AR ${MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries come from the cross prefixes named on the command line
# (CMAKE_FIND_ROOT_PATH) and from the toolchain's own tree, never from the build machine;
# programs run during the build are the build machine's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The game ships as one program that needs no DLL of its own: zlib is linked from Debian's
# static libz-mingw-w64-dev archive, never through its import library.
set(ZLIB_USE_STATIC_LIBS ON)
