#!/usr/bin/env python3
"""Reads what a built setup executable carries: its packed archive and the files in it.

  setup_image.py signed FILE             exit 0 when FILE carries an Authenticode signature
  setup_image.py archive SETUP OUT       writes the packed archive (resource FILES/FILES)
  setup_image.py extract SETUP NAME OUT  writes one file of the archive, by its archive name

Plain Python over the bytes of the PE image, so a published setup can be taken apart on
any machine, without Wine.
"""
import struct
import sys
import zlib

RESOURCE_DIRECTORY = 2
CERTIFICATE_DIRECTORY = 4


class Image:
    """The parts of a 64-bit PE image this tool needs: data directories and sections."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an executable (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x20B:
            raise ValueError("not a 64-bit (PE32+) image")
        count = struct.unpack_from("<I", data, optional + 108)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_offset + rva - address
        raise ValueError("address 0x%x lies in no section" % rva)


def entry_name(data, base, word):
    if not word & 0x80000000:
        return word
    at = base + (word & 0x7FFFFFFF)
    length = struct.unpack_from("<H", data, at)[0]
    return data[at + 2:at + 2 + 2 * length].decode("utf-16-le")


def find_entry(data, base, directory, wanted):
    named, ids = struct.unpack_from("<HH", data, base + directory + 12)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
        if wanted is None or entry_name(data, base, name) == wanted:
            return target
    raise KeyError("no resource %r" % (wanted,))


def resource(image, kind, name):
    """The bytes of a resource of the first language found, by type and name."""
    rva, size = image.directory(RESOURCE_DIRECTORY)
    if size == 0:
        raise KeyError("the image has no resources")
    base = image.offset(rva)
    target = 0
    for wanted in (kind, name, None):
        target = find_entry(image.data, base, target & 0x7FFFFFFF, wanted)
        if wanted is not None and not target & 0x80000000:
            raise ValueError("resource %r is not a directory" % wanted)
    data_rva, data_size = struct.unpack_from("<II", image.data, base + target)
    start = image.offset(data_rva)
    return image.data[start:start + data_size]


def records(archive):
    """(name, data) of every record of the inflated archive, in archive order."""
    raw = zlib.decompress(archive)
    at = 0
    while at < len(raw):
        length = raw[at]
        name = raw[at + 1:at + 1 + length].decode("latin-1")
        at += 1 + length
        size = struct.unpack_from("<i", raw, at + 8)[0]
        at += 12
        yield name, raw[at:at + size]
        at += size


def main(argv):
    command, args = (argv[1], argv[2:]) if len(argv) > 1 else ("", [])
    if command == "signed" and len(args) == 1:
        with open(args[0], "rb") as f:
            return 0 if Image(f.read()).directory(CERTIFICATE_DIRECTORY)[1] else 1
    if command in ("archive", "extract") and len(args) == (2 if command == "archive" else 3):
        with open(args[0], "rb") as f:
            archive = resource(Image(f.read()), "FILES", "FILES")
        if command == "archive":
            out = archive
        else:
            out = next((data for name, data in records(archive) if name == args[1]), None)
            if out is None:
                print("setup_image: the archive holds no %s" % args[1], file=sys.stderr)
                return 1
        with open(args[-1], "wb") as f:
            f.write(out)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
