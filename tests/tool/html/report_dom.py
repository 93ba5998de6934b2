#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks the DOM that headless Chromium rendered from a `gattdb dump -f html` page.

Usage: report_dom.py DOM IMAGE_HEX HANDLES

The page's script must have run (it marks the root element and draws the byte map), every handle
from 1 to HANDLES must have one table row and one byte block, and the blocks, in order, must hold
the image's bytes exactly.
"""
import sys
from html.parser import HTMLParser


class ReportParser(HTMLParser):
    def __init__(self):
        super().__init__()
        self.drawn = False
        self.rows = []
        self.blocks = []  # [handle, bytes text]
        self.in_bytes = False

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        classes = (attributes.get("class") or "").split()
        if tag == "html":
            self.drawn = attributes.get("data-byte-map") == "drawn"
        elif tag == "tr" and "data-handle" in attributes:
            self.rows.append(int(attributes["data-handle"]))
        elif tag == "div" and "block" in classes:
            self.blocks.append([int(attributes["data-handle"]), ""])
        elif tag == "span" and "bytes" in classes and self.blocks:
            self.in_bytes = True

    def handle_endtag(self, tag):
        if tag == "span":
            self.in_bytes = False

    def handle_data(self, data):
        if self.in_bytes:
            self.blocks[-1][1] += data


def main():
    dom_path, image_path, handles = sys.argv[1], sys.argv[2], int(sys.argv[3])
    parser = ReportParser()
    with open(dom_path, encoding="utf-8") as dom:
        parser.feed(dom.read())
    with open(image_path, encoding="ascii") as image:
        image_bytes = image.read().split()

    expected = list(range(1, handles + 1))
    faults = []
    if not parser.drawn:
        faults.append("the page's script did not run (no data-byte-map=\"drawn\")")
    if parser.rows != expected:
        faults.append(f"table rows for handles {parser.rows}, expected {expected}")
    if [handle for handle, _ in parser.blocks] != expected:
        faults.append(f"byte blocks for handles {[h for h, _ in parser.blocks]}, expected {expected}")
    block_bytes = [byte for _, text in parser.blocks for byte in text.split()]
    if block_bytes != image_bytes:
        faults.append(f"the blocks hold {len(block_bytes)} bytes that differ from the image's {len(image_bytes)}")
    for fault in faults:
        print(f"{dom_path}: {fault}", file=sys.stderr)
    if not faults:
        print(f"{dom_path}: {handles} rows and byte blocks, {len(image_bytes)} bytes")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
