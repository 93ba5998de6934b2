# SPDX-License-Identifier: MIT
# 64-bit ARM Linux with Debian's cross compilers, run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(GATTDB_LINUX_TRIPLE aarch64-linux-gnu)
set(GATTDB_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-common.cmake)
