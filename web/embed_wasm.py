# SPDX-License-Identifier: MIT
"""Writes the engine's WebAssembly as a script the page can load from file://: gzip, then base64, as
window.gattdbEngineWasm. Deterministic: the same WebAssembly gives the same script."""
import base64
import gzip
import sys


def main(wasm_path, script_path):
    with open(wasm_path, "rb") as wasm:
        packed = gzip.compress(wasm.read(), compresslevel=9, mtime=0)
    text = base64.b64encode(packed).decode("ascii")
    with open(script_path, "w", encoding="ascii") as script:
        script.write("// SPDX-License-Identifier: MIT\n")
        script.write("// The gattdb engine's WebAssembly, gzip-compressed, in base64 (written by web/embed_wasm.py).\n")
        script.write("window.gattdbEngineWasm = '" + text + "';\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
