#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the library into a scratch prefix and uses it the ways hosts do (CMake's find_package, a
# pkg-config compile, also after installing into another prefix, the Python module installed with
# pip), checks that only the five calls are exported and only the C library is needed, then
# cross-builds the Windows DLLs, checks their export and import tables, and runs the example host
# under Wine against the Linux output.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/checks/lib.sh

root=$(scratch_dir build/packaging)
calls="add_characteristic add_primary_service generate_db get_db_size init_db"

build_and_install() { # build directory, install prefix, extra cmake arguments
  cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCMAKE_INSTALL_PREFIX="$2" -DCMAKE_INSTALL_LIBDIR=lib "${@:3}" >/dev/null
  cmake --build "$1" -j "$(nproc)" >/dev/null
  cmake --install "$1" >/dev/null
}

# --- Linux: install, exported and needed symbols
prefix=$root/prefix
linux=$(release_build)
cmake --install "$linux" --prefix "$prefix" >/dev/null
"$linux/heart_rate" >"$root/heart_rate.linux.txt"
library=$prefix/lib/libgattdb.so.1
expect "libgattdb.so exports" "$calls" "$(nm -D --defined-only "$library" | awk '{print $3}' | sort | xargs)"
expect "libgattdb.so needs" "libc.so.6" "$(readelf -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | xargs)"
expect "libgattdb.so soname" "libgattdb.so.1" "$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')"

# --- Hosts of the installed library: CMake, pkg-config, Python
cmake -S tests/consumer -B "$root/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$root/consumer" >/dev/null
"$root/consumer/consumer"

# The build installed into prefixes other than the one it was configured with: gattdb.pc finds the
# files relative to itself. (42-firmware-build.sh checks the same of the tool.)
for installed in "$prefix" "$root/moved"; do
  cmake --install "$linux" --prefix "$installed" >/dev/null
  flags=$(PKG_CONFIG_PATH=$installed/lib/pkgconfig pkg-config --cflags --libs gattdb)
  [[ $flags == "-I$installed/"*" -L$installed/"* ]] || fail "gattdb.pc in $installed gives $flags"
  cc -std=c11 -Wall -Wextra -Werror examples/heart_rate.c $flags -o "$root/heart_rate_pc"
  LD_LIBRARY_PATH=$installed/lib "$root/heart_rate_pc" | cmp - "$root/heart_rate.linux.txt"
  echo "pkg-config build of the example against $installed: same output"
done

# The Python module installed with pip into a virtual environment (Debian's pip, setuptools and
# wheel through --system-site-packages, no network), from a copy of its folder since setuptools
# builds in place. The library installed into the same prefix is found with nothing set.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
venv=$root/venv
"$python" -m venv --system-site-packages "$venv"
cp -r bindings/python "$root/python-package"
"$venv/bin/python" -m pip install --quiet --no-build-isolation --no-index "$root/python-package"
cmake --install "$linux" --prefix "$venv" --component Runtime >/dev/null
module=$(cd / && "$venv/bin/python" -c 'import gattdb; print(gattdb.__file__)')
[[ $module == "$venv"/lib/* ]] || fail "the virtual environment imports gattdb from $module"
echo "installed module: $module"
expect "library it loads with nothing set" "$venv/lib/libgattdb.so.1" \
  "$(cd / && "$venv/bin/python" -c 'import gattdb; print(gattdb.Library().path)')"
GATTDB_LIBRARY=$library "$venv/bin/python" -m unittest discover -s tests/python

# --- Windows: DLL export and import tables, calling convention; the example and the consumer,
# built against the Windows install, under Wine
export WINEPREFIX=$root/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
trap '[ ! -d "$WINEPREFIX" ] || /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT # ends this prefix's server
declare -A wine_loader=([x86_64]=/usr/lib/wine/wine64 [i686]=/usr/lib/wine/wine)
declare -A symbol_prefix=([x86_64]="" [i686]="_") # i686 C names carry one underscore; stdcall adds @N
for arch in x86_64 i686; do
  build=$root/win-$arch
  build_and_install "$build" "$root/prefix-$arch" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-$arch.cmake
  dll=$root/prefix-$arch/bin/gattdb.dll
  objdump=$arch-w64-mingw32-objdump
  expect "$arch gattdb.dll exports" "$calls" \
    "$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' | sort | xargs)"
  expect "$arch gattdb.dll needs" "KERNEL32.dll msvcrt.dll" \
    "$($objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p' | sort -u | xargs)"
  # The compiler names each call after its convention: cdecl keeps the plain C name.
  expect "$arch symbols defining the calls" "$(printf "${symbol_prefix[$arch]}%s " $calls | xargs)" \
    "$($arch-w64-mingw32-nm --defined-only "$build/libgattdb_static.a" |
      awk '$2 == "T" {print $3}' | grep -E "^_?(${calls// /|})(@[0-9]+)?$" | sort | xargs)"

  cmake -S tests/consumer -B "$root/consumer-$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-$arch.cmake" \
    -DCMAKE_FIND_ROOT_PATH="$root/prefix-$arch" -DCMAKE_EXE_LINKER_FLAGS="-static-libgcc -static-libstdc++" >/dev/null
  cmake --build "$root/consumer-$arch" >/dev/null

  loader=${wine_loader[$arch]}
  if [ ! -x "$loader" ]; then
    echo "$arch: no Wine loader at $loader, the hosts are built but not run"
    continue
  fi
  (cd "$build" && "$loader" heart_rate.exe) >"$root/heart_rate.$arch.txt" 2>"$root/wine.$arch.log" ||
    fail "$arch heart_rate.exe failed under Wine: $(cat "$root/wine.$arch.log")"
  # The C runtime's text mode writes each \n as \r\n; every other byte must be the Linux output's.
  sed 's/$/\r/' "$root/heart_rate.linux.txt" | cmp - "$root/heart_rate.$arch.txt"
  echo "$arch heart_rate.exe under Wine: same output as on Linux, with \\r\\n line ends"
  WINEPATH=$root/prefix-$arch/bin "$loader" "$root/consumer-$arch/consumer.exe" 2>>"$root/wine.$arch.log" ||
    fail "$arch consumer.exe failed under Wine: $(cat "$root/wine.$arch.log")"
done
