# SPDX-License-Identifier: MIT
# 64-bit big-endian IBM Z Linux with Debian's cross compilers, run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(GATTDB_LINUX_TRIPLE s390x-linux-gnu)
set(GATTDB_QEMU qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-common.cmake)
