// SPDX-License-Identifier: MIT
// The same firmware compiled as C++: the generated header serves both languages.
#include "firmware.c"
