#!/usr/bin/env python3
"""Runs orvpack on small folders and checks the archive byte for byte, and every refusal."""
import argparse
import datetime
import os
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

PACKER = None
# A zone with daylight saving, so a packer that used UTC or ignored DST would be caught.
ZONE = "EST5EDT,M3.2.0,M11.1.0"
EPOCH = datetime.date(1899, 12, 30)


def local_seconds(y, mo, d, h, mi, s):
    return int(time.mktime((y, mo, d, h, mi, s, 0, 0, -1)))


def tdatetime(y, mo, d, h, mi, s):
    days = (datetime.date(y, mo, d) - EPOCH).days
    return days + (h * 3600000 + mi * 60000 + (s & ~1) * 1000) / 86400000


def put(root, relpath, data=b"", when=(2021, 6, 15, 10, 30, 0)):
    path = os.path.join(root, *relpath.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    t = local_seconds(*when)
    os.utime(path, (t, t))
    return path


def run_packer(folder, out):
    env = dict(os.environ, TZ=ZONE)
    return subprocess.run([PACKER, folder, out], capture_output=True, text=True, env=env)


def parse_records(raw):
    records, o = [], 0
    while o < len(raw):
        n = raw[o]
        name = raw[o + 1:o + 1 + n].decode("latin-1")
        o += 1 + n
        (stamp,) = struct.unpack_from("<d", raw, o)
        (size,) = struct.unpack_from("<i", raw, o + 8)
        o += 12
        records.append((name, stamp, size, raw[o:o + size], o))
        o += size
    assert o == len(raw), "last record must end exactly at the end"
    return records


class PackerTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.tmp.name, "in")
        self.out = os.path.join(self.tmp.name, "out.orvz")
        os.makedirs(self.src)

    def tearDown(self):
        self.tmp.cleanup()

    def pack_ok(self):
        result = run_packer(self.src, self.out)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.out, "rb") as f:
            packed = f.read()
        self.assertEqual(packed[:2], b"\x78\xda")
        inflater = zlib.decompressobj()
        raw = inflater.decompress(packed) + inflater.flush()
        self.assertTrue(inflater.eof)
        self.assertEqual(inflater.unused_data, b"")
        return parse_records(raw)

    def test_records_order_times_and_data(self):
        files = [  # (path, data, local time)
            ("Zeta.txt", b"zeta\r\n", (2020, 1, 2, 3, 4, 5)),
            ("orv.exe", b"MZ" + bytes(range(256)) * 3, (2024, 2, 29, 23, 59, 59)),
            ("a.txt", b"", (1980, 1, 1, 0, 0, 0)),
            ("B.dat", b"x" * 70000, (2099, 12, 31, 23, 59, 58)),
            ("Templates/Letters/Letter 1.rtf", b"{\\rtf1 hi}", (2019, 7, 4, 12, 0, 2)),
            ("Templates/Faxes/Fax 1.rtf", b"{\\rtf1 fax}", (2019, 11, 3, 1, 30, 0)),
            ("Templates/top.rtf", b"t", (2022, 3, 13, 12, 0, 0)),
            ("Clip Library/x.bmp", b"BM" + b"\x00" * 60, (2023, 8, 9, 10, 11, 12)),
            ("n" * 100 + "/" + "f" * 154, b"long", (2021, 5, 5, 5, 5, 4)),
        ]
        for path, data, when in files:
            put(self.src, path, data, when)
        expected = [  # archive order: orv.exe, root files, then folders, byte-wise
            "orv.exe", "B.dat", "Zeta.txt", "a.txt",
            "Clip Library\\x.bmp",
            "Templates\\top.rtf", "Templates\\Faxes\\Fax 1.rtf", "Templates\\Letters\\Letter 1.rtf",
            "n" * 100 + "\\" + "f" * 154,
        ]
        by_name = {p.replace("/", "\\"): (d, w) for p, d, w in files}
        records = self.pack_ok()
        self.assertEqual([r[0] for r in records], expected)
        self.assertEqual(records[0][4], 20)  # orv.exe's data starts at 13 + 7
        self.assertEqual(len(records[-1][0]), 255)
        for name, stamp, size, data, _ in records:
            want_data, when = by_name[name]
            with self.subTest(name=name[:40]):
                self.assertEqual(data, want_data)
                self.assertEqual(size, len(want_data))
                self.assertEqual(struct.pack("<d", stamp), struct.pack("<d", tdatetime(*when)))

    def test_without_orv_exe_plain_sorted_order(self):
        for path in ["b/1", "a", "C", "b/0", "_"]:
            put(self.src, path, path.encode())
        self.assertEqual([r[0] for r in self.pack_ok()], ["C", "_", "a", "b\\0", "b\\1"])

    def test_orv_exe_is_first_only_at_the_root(self):
        for path in ["Sub/orv.exe", "A.txt"]:
            put(self.src, path)
        self.assertEqual([r[0] for r in self.pack_ok()], ["A.txt", "Sub\\orv.exe"])

    def test_empty_folder_gives_empty_stream(self):
        self.assertEqual(self.pack_ok(), [])

    def test_refusals(self):
        cases = [  # (what, files to make, part of the path the message must name)
            ("name of 256 bytes", [("d" * 100 + "/" + "f" * 155, None)], "f" * 155),
            ("names equal ignoring case", [("Readme.txt", None), ("README.TXT", None)], "Readme.txt"),
            ("folders equal ignoring case", [("Docs/a", None), ("docs/A", None)], "docs/A"),
            ("year 1979", [("old.txt", (1979, 12, 31, 23, 59, 58))], "old.txt"),
            ("year 2100", [("new.txt", (2100, 1, 1, 0, 0, 0))], "new.txt"),
            ("backslash inside a name", [("a\\b.txt", None)], "a\\b.txt"),
            ("colon inside a name", [("c:x.txt", None)], "c:x.txt"),
        ]
        for what, made, named in cases:
            with self.subTest(what):
                self.tearDown()
                self.setUp()
                for path, when in made:
                    put(self.src, path, b"data", when or (2021, 6, 15, 10, 30, 0))
                self.assert_refused(named)

    def test_refuses_file_of_2_gib(self):
        put(self.src, "small.txt", b"ok")
        big = put(self.src, "huge.bin")
        os.truncate(big, 2 ** 31)  # sparse: nothing is written to disk
        self.assert_refused("huge.bin")

    def test_refuses_missing_folder_and_bad_usage(self):
        result = run_packer(os.path.join(self.tmp.name, "absent"), self.out)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("absent", result.stderr)
        usage = subprocess.run([PACKER, self.src], capture_output=True, text=True)
        self.assertNotEqual(usage.returncode, 0)

    def assert_refused(self, named):
        result = run_packer(self.src, self.out)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(named, result.stderr)
        self.assertFalse(os.path.exists(self.out), "no archive on refusal")
        self.assertFalse(os.path.exists(self.out + ".part"), "no partial archive left")


def main():
    global PACKER
    parser = argparse.ArgumentParser()
    parser.add_argument("--packer", required=True)
    args = parser.parse_args()
    PACKER = os.path.abspath(args.packer)
    os.environ["TZ"] = ZONE
    time.tzset()
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(PackerTest)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun - failed} passed, {failed} failed")
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
