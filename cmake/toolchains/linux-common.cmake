# SPDX-License-Identifier: MIT
# Shared by the linux-*.cmake toolchain files, which set CMAKE_SYSTEM_PROCESSOR, GATTDB_LINUX_TRIPLE
# and GATTDB_QEMU first: Debian's cross compilers (g++-<triple>) build for the target, and qemu-user
# runs its programs against the target's libraries in /usr/<triple>, so CTest and GoogleTest's
# discovery run the tests on this machine with no binfmt set up.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${GATTDB_LINUX_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${GATTDB_LINUX_TRIPLE}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${GATTDB_QEMU} -L /usr/${GATTDB_LINUX_TRIPLE})

# Appended to, so that -DCMAKE_FIND_ROOT_PATH=/a/target/prefix lets find_package see an install there
# (GoogleTest built for the target, say).
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${GATTDB_LINUX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
