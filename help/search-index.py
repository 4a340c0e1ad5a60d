#!/usr/bin/env python3
# Shows what a CHM viewer's full-text search finds for whole words, read
# straight from the compiled file's index ($FIftiMain): every index entry of
# each word with its title flag and pages, then the pages of the first entry
# alone, where a viewer that stops at the first match (xchm) stops.
# Usage: help/search-index.py build/linux/Durmivela.chm WORD...
import os
import struct
import subprocess
import sys
import tempfile


def objects(chm, names):
    folder = tempfile.mkdtemp()
    subprocess.run(["extract_chmLib", chm, folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return [open(os.path.join(folder, name), "rb").read() for name in names]


def encint(data, i):
    value = shift = 0
    while True:
        byte = data[i]
        i += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if not byte & 0x80:
            return value, i


class Bits:
    """Scale-and-root numbers (scale 2), read from the most significant bit."""

    def __init__(self, data, offset):
        self.data, self.byte, self.bit = data, offset, 7

    def one(self):
        value = (self.data[self.byte] >> self.bit) & 1
        self.bit -= 1
        if self.bit < 0:
            self.bit, self.byte = 7, self.byte + 1
        return value

    def align(self):
        if self.bit != 7:
            self.bit, self.byte = 7, self.byte + 1

    def number(self, root):
        prefix = 0
        while self.one():
            prefix += 1
        width = root + max(prefix - 1, 0)
        value = 0
        for _ in range(width):
            value = (value << 1) | self.one()
        return value | (1 << width) if prefix else value


def entries(chm):
    fifti, topics, urltbl, urlstr = objects(chm, ["$FIftiMain", "#TOPICS", "#URLTBL", "#URLSTR"])
    node, = struct.unpack_from("<I", fifti, 0x14)
    depth, = struct.unpack_from("<H", fifti, 0x18)
    doc_root, count_root, location_root = fifti[0x1F], fifti[0x21], fifti[0x23]
    node_size, = struct.unpack_from("<I", fifti, 0x2E)

    def page(topic):
        url_entry, = struct.unpack_from("<I", topics, topic * 16 + 8)
        text, = struct.unpack_from("<I", urltbl, url_entry + 8)
        return urlstr[text + 8:urlstr.index(b"\0", text + 8)].decode("cp1252")

    for _ in range(depth - 1):  # down the leftmost branch to the first leaf
        length = fifti[node + 2]
        node, = struct.unpack_from("<I", fifti, node + 2 + length + 1)
    while True:
        free, = struct.unpack_from("<H", fifti, node + 6)
        i, word = node + 8, b""
        while i < node + node_size - free:
            length, shared = fifti[i], fifti[i + 1]
            word = word[:shared] + fifti[i + 2:i + 1 + length]
            i += 2 + length
            title = fifti[i - 1]
            count, i = encint(fifti, i)
            offset, = struct.unpack_from("<I", fifti, i)
            _, i = encint(fifti, i + 6)
            bits, topic, pages = Bits(fifti, offset), 0, []
            for _ in range(count):
                bits.align()
                topic += bits.number(doc_root)
                for _ in range(bits.number(count_root)):
                    bits.number(location_root)
                pages.append(page(topic))
            yield word.decode("cp1252"), bool(title), sorted(pages)
        node, = struct.unpack_from("<I", fifti, node)
        if not node:
            return


def main(chm, words):
    index = list(entries(chm))
    for word in (w.lower() for w in words):
        found = [entry for entry in index if entry[0] == word]
        if not found:
            alike = sorted({entry[0] for entry in index if entry[0][:4] == word[:4]})
            print(f"{word}: no entry (entries beginning alike: {', '.join(alike) or 'none'})")
            continue
        for _, title, pages in found:
            print(f"{word} [{'title' if title else 'body'}]: {len(pages)} pages: {' '.join(pages)}")
        everywhere = {page for entry in found for page in entry[2]}
        print(f"{word}: the first entry gives {len(found[0][2])} of the {len(everywhere)} pages")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
