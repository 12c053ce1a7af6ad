#!/usr/bin/env python3
"""Makes the fuzz targets' seed corpus: the sample archive, crafted and damaged archives,
real logs turned into merge inputs, and the committed inputs of every target (among them
each input a fuzzer ever found a fault with)."""
import argparse
import shutil
import struct
import zlib
from pathlib import Path


def record(name: bytes, data: bytes, stamp: float = 36526.5) -> bytes:
    return bytes([len(name)]) + name + struct.pack("<d", stamp) + struct.pack("<i", len(data)) + data


def archive_seeds(sample: bytes) -> dict:
    good = record(b"orv.exe", b"MZ" + bytes(64)) + record(b"Help\\Index.htm", b"<html></html>") + record(b"Empty.dat", b"")
    seeds = {
        "sample.orvz": sample,
        "sample-head.orvz": sample[:4096],  # cut short: inflates part-way, then fails
        "small.orvz": zlib.compress(good, 9),
        "small-fast.orvz": zlib.compress(good, 1),
        "empty-stream.orvz": zlib.compress(b"", 9),
        "raw-records.bin": good,  # the bytes as an inflated block
        "bad-check.orvz": zlib.compress(good, 9)[:-1] + b"\x00",
        "record-past-end.orvz": zlib.compress(good[:-3], 9),
        "negative-size.orvz": zlib.compress(bytes([1]) + b"a" + bytes(8) + struct.pack("<i", -1), 9),
        "header-cut.orvz": zlib.compress(bytes([200]) + b"abc", 9),
        "dot-dot-name.orvz": zlib.compress(record(b"..\\..\\Windows\\evil.dll", b"x"), 9),
        "device-name.orvz": zlib.compress(record(b"Sub\\con.txt", b"x"), 9),
        "drive-name.orvz": zlib.compress(record(b"C:\\evil.dll", b"x"), 9),
        "rooted-name.orvz": zlib.compress(record(b"\\evil.dll", b"x"), 9),
    }
    flipped = bytearray(sample[:65536])
    for i in range(16, len(flipped), 997):
        flipped[i] ^= 0x20
    seeds["sample-flipped.orvz"] = bytes(flipped)
    return seeds


def update_log_seeds(logs: list) -> dict:
    """Old file, NUL, public files, NUL, stamp: each real log once with its last block placed
    again and once with one file of it."""
    seeds = {}
    for path in logs:
        text = path.read_bytes()
        lines = text.replace(b"\r\n", b"\n").split(b"\n")
        files = [l for l in lines if l and not l.startswith(b"*")]
        stamp = struct.pack("<d", 46000.25)
        seeds[path.stem + "-again.bin"] = text + b"\0" + b"\r\n".join(files) + b"\0" + stamp
        seeds[path.stem + "-one.bin"] = text + b"\0" + (files[0] if files else b"x") + b"\0" + stamp
    return seeds


def uninstall_log_seeds(install_logs: list, update_logs: list) -> dict:
    """A byte choosing the install's folders, Install.log, NUL, Update.log, NUL, the
    uninstaller's arguments: each real Install.log with each real Update.log."""
    args = b'"C:\\Program Files\\Orvanel\\orv.exe" -ui /S "/DIR=C:\\Program Files\\Orvanel" /WAIT=12 /REPORT=34'
    seeds = {}
    for scope in range(3):
        for i in install_logs:
            for u in update_logs:
                name = "%s-%s-%d.bin" % (i.stem, u.stem, scope)
                seeds[name] = bytes([scope]) + i.read_bytes() + b"\0" + u.read_bytes() + b"\0" + args
    return seeds


def write(folder: Path, seeds: dict) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


def main() -> None:
    ap = argparse.ArgumentParser()
    ap.add_argument("--archive", required=True, type=Path, help="the packed sample payload")
    ap.add_argument("--seeds", required=True, type=Path, help="the committed inputs, a folder per target")
    ap.add_argument("--out", required=True, type=Path)
    args = ap.parse_args()

    if args.out.exists():
        shutil.rmtree(args.out)
    for target in sorted(p for p in args.seeds.iterdir() if p.is_dir() and p.name != "logs"):
        shutil.copytree(target, args.out / target.name)
    write(args.out / "archive", archive_seeds(args.archive.read_bytes()))
    logs = args.seeds / "logs"
    write(args.out / "update_log", update_log_seeds(sorted(logs.glob("*.log"))))
    write(args.out / "uninstall_log",
          uninstall_log_seeds(sorted(logs.glob("Install*.log")), sorted(logs.glob("Update*.log"))))


if __name__ == "__main__":
    main()
