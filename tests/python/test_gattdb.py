# SPDX-License-Identifier: MIT
"""Tests of the ctypes host in bindings/python, installed (pip install ./bindings/python) or put on
PYTHONPATH. GATTDB_LIBRARY names the built or installed library."""

import os
import re
import subprocess
import sys
import unittest

import gattdb

TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
HEADER = os.path.join(TESTS, "..", "include", "gattdb.h")
LIBRARY_PATH = os.environ.get("GATTDB_LIBRARY")
if not LIBRARY_PATH:
    raise SystemExit("test_gattdb: set GATTDB_LIBRARY to the path of the library to test")

HEART_RATE = [gattdb.Service("180D", [gattdb.Characteristic("2A37", 0x10, b"\x00\x48", cccd=True),
                                      gattdb.Characteristic("2A38", 0x02, b"\x01")])]
with open(os.path.join(TESTS, "tool", "golden", "heart-rate.hex"), encoding="ascii") as golden:
    HEART_RATE_IMAGE = bytes.fromhex(golden.read())


class LibraryTest(unittest.TestCase):
    def setUp(self):
        self.lib = gattdb.Library(LIBRARY_PATH)
        self.lib.init_db()

    def test_build_returns_the_image_as_bytes(self):
        image = self.lib.build(HEART_RATE)
        self.assertIsInstance(image, bytes)
        self.assertEqual(image, HEART_RATE_IMAGE)

    def test_single_calls_give_the_same_image(self):
        self.lib.add_primary_service("180d")
        self.lib.add_characteristic("2A37", 0x10, bytearray(b"\x00\x48"), cccd=True)
        self.lib.add_characteristic("2A38", 0x02, [1])
        self.assertEqual(self.lib.get_db_size(), len(HEART_RATE_IMAGE))
        self.assertEqual(self.lib.generate_db(), HEART_RATE_IMAGE)

    def test_refusals_raise_and_leave_the_table_empty(self):
        cases = [
            ("service UUID with a space", [gattdb.Service("18 0D")], "add_primary_service"),
            ("UUID cut short by a NUL", [gattdb.Service("180D\0FFFF")], "add_primary_service"),
            ("UUID that is not ASCII", [gattdb.Service("180\u0661")], "add_primary_service"),
            ("characteristic UUID of 3 digits", [gattdb.Service("180D", [gattdb.Characteristic("2A3")])],
             "add_characteristic"),
            ("value longer than 255 bytes",
             [gattdb.Service("180D", [gattdb.Characteristic("2A37", value=bytes(256))])], "256 bytes"),
            ("no service at all", [], "generate_db"),
            ("21 services", [gattdb.Service("1800")] * 21, "add_primary_service"),
        ]
        for name, services, message in cases:
            with self.subTest(name):
                with self.assertRaisesRegex(gattdb.GattdbError, message):
                    self.lib.build(services)
                self.assertEqual(self.lib.get_db_size(), 0)

    def test_characteristic_without_a_service_is_refused(self):
        with self.assertRaisesRegex(gattdb.GattdbError, "add_characteristic: refused '2A37'"):
            self.lib.add_characteristic("2A37")

    def test_an_int_value_is_not_taken_for_a_length(self):
        self.lib.add_primary_service("180D")
        service_only = self.lib.get_db_size()
        with self.assertRaises(TypeError):
            self.lib.add_characteristic("2A37", value=5)
        self.assertEqual(self.lib.get_db_size(), service_only)

    def test_a_missing_file_raises_naming_it(self):
        with self.assertRaisesRegex(gattdb.GattdbError, "no-such-dir"):
            gattdb.Library("/no-such-dir/libgattdb.so")


class LoadingTest(unittest.TestCase):
    """Library() with no path, each in a fresh interpreter, so that nothing is reused from this one."""

    def load(self, **variables):
        environment = {name: value for name, value in os.environ.items() if name != "GATTDB_LIBRARY"}
        environment.update(variables)
        script = ("import sys, gattdb; lib = gattdb.Library(); "
                  "sys.stdout.write(lib.build([gattdb.Service('180F')]).hex())")
        return subprocess.run([sys.executable, "-c", script], env=environment, capture_output=True, text=True)

    def test_GATTDB_LIBRARY_names_the_file_to_load(self):
        self.assertEqual(self.load(GATTDB_LIBRARY=LIBRARY_PATH).stdout, "00020f18")
        failed = self.load(GATTDB_LIBRARY="/no-such-dir/libgattdb.so.1")
        self.assertIn("cannot load the gattdb library '/no-such-dir/libgattdb.so.1'", failed.stderr)

    def test_found_without_GATTDB_LIBRARY(self):
        directory = os.path.dirname(os.path.abspath(LIBRARY_PATH))
        variable = "PATH" if sys.platform == "win32" else "LD_LIBRARY_PATH"
        result = self.load(**{variable: directory + os.pathsep + os.environ.get(variable, "")})
        self.assertEqual(result.stdout, "00020f18", result.stderr)


class HeaderTest(unittest.TestCase):
    def test_the_module_agrees_with_the_header(self):
        with open(HEADER, encoding="utf-8") as header:
            text = header.read()
        for macro, value in [("GATTDB_MAX_VALUE_LENGTH", str(gattdb.MAX_VALUE_LENGTH)),
                             ("GATTDB_VERSION_STRING", f'"{gattdb.__version__}"')]:
            with self.subTest(macro):
                definition = re.search(rf"^#define {macro} (\S+)", text, re.MULTILINE)
                self.assertEqual(definition and definition.group(1), value)


if __name__ == "__main__":
    unittest.main()
