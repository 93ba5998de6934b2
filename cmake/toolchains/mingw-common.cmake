# SPDX-License-Identifier: MIT
# Shared by the mingw-*.cmake toolchain files, which set CMAKE_SYSTEM_PROCESSOR first. The win32 thread
# model's compilers (Debian's g++-mingw-w64-*-win32) are named on purpose: their runtime never needs
# libwinpthread.
set(CMAKE_SYSTEM_NAME Windows)

set(GATTDB_MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${GATTDB_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${GATTDB_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${GATTDB_MINGW_TRIPLE}-windres)

# Appended to, so that -DCMAKE_FIND_ROOT_PATH=/a/windows/prefix lets find_package see an install there.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${GATTDB_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
