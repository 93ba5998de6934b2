# SPDX-License-Identifier: MIT
"""Python host for the gattdb library, through ctypes.

    import gattdb
    lib = gattdb.Library()                       # or gattdb.Library("/path/to/libgattdb.so.1")
    measurement = gattdb.Characteristic("2A37", properties=0x10, value=b"\\x00\\x48", cccd=True)
    image = lib.build([gattdb.Service("180D", [measurement])])  # bytes

Library() loads the file that GATTDB_LIBRARY names; without it, the library installed in the same
prefix as this module or as the interpreter (a virtual environment); failing that, whatever the
system's loader finds.

The library keeps one table per process, shared by every Library object that loads the same file;
like the C calls, a Library must be used from one thread at a time.
"""

import ctypes
import ctypes.util
import os
import sys
import sysconfig
from dataclasses import dataclass, field
from pathlib import Path
from typing import Iterable, List, Optional

# GATTDB_VERSION_STRING and GATTDB_MAX_VALUE_LENGTH in gattdb.h; the tests hold them to the header.
__version__ = "1.0.0"
MAX_VALUE_LENGTH = 255  # a characteristic's value length is one byte in the C interface

_FILE_NAME = {"win32": "gattdb.dll", "darwin": "libgattdb.1.dylib"}.get(sys.platform, "libgattdb.so.1")


def _installed_library() -> Optional[str]:
    """The library installed in the same prefix as this module (PREFIX/lib/pythonX.Y/site-packages)
    or as the interpreter (a virtual environment), if there is one."""
    module_dir = Path(__file__).resolve().parent
    prefixes = [folder.parent for folder in module_dir.parents if folder.name.lower() in ("lib", "lib64")][:1]
    prefixes.append(Path(sys.prefix))
    library_dirs = ["bin"] if sys.platform == "win32" else ["lib", "lib64"]
    multiarch = sysconfig.get_config_var("MULTIARCH")
    if multiarch:
        library_dirs.append(f"lib/{multiarch}")
    for prefix in prefixes:
        for library_dir in library_dirs:
            candidate = prefix / library_dir / _FILE_NAME
            if candidate.is_file():
                return str(candidate)
    return None


def _library_to_load() -> str:
    """GATTDB_LIBRARY when set; otherwise the library beside an installed prefix; otherwise a name
    for the system's loader to find."""
    return (os.environ.get("GATTDB_LIBRARY") or _installed_library() or ctypes.util.find_library("gattdb")
            or _FILE_NAME)


class GattdbError(Exception):
    """The library refused a call, or the library could not be loaded."""


@dataclass
class Characteristic:
    uuid: str
    properties: int = 0
    value: bytes = b""
    cccd: bool = False


@dataclass
class Service:
    uuid: str
    characteristics: List[Characteristic] = field(default_factory=list)


def _uuid_bytes(call: str, uuid: str) -> bytes:
    # C sees the text only up to its first NUL, so "180D\0junk" would pass as "180D".
    if not isinstance(uuid, str) or "\0" in uuid or not uuid.isascii():
        raise GattdbError(f"{call}: {uuid!r} is not UUID text")
    return uuid.encode("ascii")


class Library:
    def __init__(self, path: Optional[str] = None):
        name = path or _library_to_load()
        try:
            self._lib = ctypes.CDLL(name)  # cdecl on every platform, as the DLL exports it
        except OSError as error:
            raise GattdbError(f"cannot load the gattdb library {name!r}: {error}") from error
        self.path = name
        self._declare("init_db", None)
        self._declare("add_primary_service", ctypes.c_int32, ctypes.c_char_p)
        self._declare("add_characteristic", ctypes.c_int32, ctypes.c_char_p, ctypes.c_int32, ctypes.c_uint8,
                      ctypes.POINTER(ctypes.c_uint8), ctypes.c_uint8)
        self._declare("get_db_size", ctypes.c_uint16)
        self._declare("generate_db", ctypes.c_int32, ctypes.POINTER(ctypes.c_uint8))

    def _declare(self, name, restype, *argtypes):
        function = getattr(self._lib, name)
        function.restype = restype
        function.argtypes = argtypes

    def init_db(self) -> None:
        self._lib.init_db()

    def add_primary_service(self, uuid: str) -> None:
        if not self._lib.add_primary_service(_uuid_bytes("add_primary_service", uuid)):
            raise GattdbError(f"add_primary_service: refused {uuid!r} (not UUID text, or no free service)")

    def add_characteristic(self, uuid: str, properties: int = 0, value: bytes = b"",
                           cccd: bool = False) -> None:
        if isinstance(value, int):  # bytes(5) would be five zero bytes
            raise TypeError(f"add_characteristic: the value of {uuid!r} must be bytes or a sequence of "
                            "bytes, not an int")
        value = bytes(value)
        if len(value) > MAX_VALUE_LENGTH:
            raise GattdbError(f"add_characteristic: {uuid!r} has a value of {len(value)} bytes, "
                              f"more than {MAX_VALUE_LENGTH}")
        copy = (ctypes.c_uint8 * len(value)).from_buffer_copy(value) if value else None
        uuid_text = _uuid_bytes("add_characteristic", uuid)
        if not self._lib.add_characteristic(uuid_text, properties, len(value), copy, 1 if cccd else 0):
            raise GattdbError(f"add_characteristic: refused {uuid!r} (not UUID text, or no service with "
                              "room)")

    def get_db_size(self) -> int:
        return self._lib.get_db_size()

    def generate_db(self) -> bytes:
        size = self._lib.get_db_size()
        image = (ctypes.c_uint8 * size)()
        if size == 0 or not self._lib.generate_db(image):
            raise GattdbError("generate_db: no image (the database is empty or needs handles above 255)")
        return bytes(image)

    def build(self, services: Iterable[Service]) -> bytes:
        """Builds the database from scratch and returns its image. Either way the table is left empty
        afterwards, its value copies released."""
        self.init_db()
        try:
            for service in services:
                self.add_primary_service(service.uuid)
                for characteristic in service.characteristics:
                    self.add_characteristic(characteristic.uuid, characteristic.properties,
                                            characteristic.value, characteristic.cccd)
            return self.generate_db()
        finally:
            self.init_db()  # releases the value copies; the image is already the caller's
