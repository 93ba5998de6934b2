# SPDX-License-Identifier: MIT
# 32-bit ARM (hard float) Linux with Debian's cross compilers, run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR arm)
set(GATTDB_LINUX_TRIPLE arm-linux-gnueabihf)
set(GATTDB_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-common.cmake)
