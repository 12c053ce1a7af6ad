#!/usr/bin/env python3
"""Writes the stand-in product's files (the setup's sample payload) into a folder, deterministically.

Every byte comes from a fixed-seed generator, and every file gets a local modification
time with exactly MS-DOS precision (whole even seconds, years 2019 to 2024), so the
packed archive is the same on every build of the same orv.exe.
"""
import argparse
import os
import shutil
import struct
import sys
import time

MASK64 = (1 << 64) - 1


class SplitMix64:
    """A small PRNG of our own, so the output never depends on Python's random module."""

    def __init__(self, seed):
        self.state = seed & MASK64

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & MASK64
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK64
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK64
        return z ^ (z >> 31)

    def below(self, n):
        return self.next() % n

    def pick(self, items):
        return items[self.below(len(items))]

    def bytes(self, n):
        return bytes(self.next() & 0xFF for _ in range(n))


ONSETS = ["", "b", "bl", "br", "c", "ch", "cl", "cr", "d", "dr", "f", "fl", "fr", "g", "gl", "gr",
          "h", "j", "k", "l", "m", "n", "p", "pl", "pr", "qu", "r", "s", "sc", "sh", "sl", "sp",
          "st", "str", "t", "th", "tr", "v", "w", "wh", "y", "z"]
VOWELS = ["a", "e", "i", "o", "u", "ai", "ea", "ee", "ie", "oa", "oo", "ou", "y"]
CODAS = ["", "", "b", "ck", "d", "ft", "g", "l", "ll", "m", "mp", "n", "nd", "ng", "nt", "p", "r",
         "rd", "rk", "rn", "s", "ss", "st", "t", "th", "x"]
SUFFIXES = ["", "", "", "s", "ed", "ing", "er", "ly", "ness", "ment", "able", "tion", "ous", "ful"]

COMMON = ("the of and to in is that for it as with was on be at by this had not are but from "
          "or have an they which one you were all we when your can said there use each she "
          "do how their if will up other about out many then them these so some her would make "
          "like him into time has look two more write go see number no way could people my "
          "than first water been call who oil its now find long down day did get come made may "
          "part over new sound take only little work know place year live me back give most "
          "very after thing our just name good sentence man think say great where help through "
          "much before line right too mean old any same tell boy follow came want show also "
          "around form three small set put end does another well large must big even such "
          "because turn here why ask went men read need land different home us move try kind "
          "hand picture again change off play spell air away animal house point page letter "
          "mother answer found study still learn should world high every near add food between "
          "own below country plant last school father keep tree never start city earth eye "
          "light thought head under story saw left few while along might close something seem "
          "next hard open example begin life always those both paper together got group often "
          "run important until children side feet car mile night walk white sea began grow "
          "took river four carry state once book hear stop without second later miss idea "
          "enough eat face watch far really almost let above girl sometimes mountain cut young "
          "talk soon list song being leave family meeting report account invoice schedule "
          "budget quarter project review customer service order delivery payment office").split()


def pseudo_word(rng):
    word = "".join(rng.pick(ONSETS) + rng.pick(VOWELS) + rng.pick(CODAS)
                   for _ in range(1 + rng.below(3)))
    return word + rng.pick(SUFFIXES)


def word_list(rng, count):
    words = set(COMMON)
    while len(words) < count:
        words.add(pseudo_word(rng))
    return sorted(words)


def sentence(rng, words):
    text = " ".join(rng.pick(words) for _ in range(6 + rng.below(12)))
    return text[0].upper() + text[1:] + rng.pick([".", ".", ".", "?", "!"])


def crlf(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


LICENSE = """ORVANEL WORD PROCESSOR 2.0.6.0 - LICENCE AGREEMENT

Please read this agreement before you install or use the Orvanel Word
Processor ("the Program"). By installing, copying or otherwise using the
Program you agree to these terms. If you do not agree, do not install it.

1. GRANT OF LICENCE
The Orvanel project grants you a non-exclusive, non-transferable licence to
install and use the Program on any number of computers that you own or
control, for personal, educational or business purposes.

2. PORTABLE USE
You may install the Program on a removable drive and run it from there on
other computers, provided that you remain the person who controls that drive.

3. COPIES AND REDISTRIBUTION
You may make copies of the unmodified setup program and give them to others,
free of charge, provided that this agreement travels with every copy. You may
not sell the Program, rent it, or bundle it with a product that you sell,
without written permission from the Orvanel project.

4. DOCUMENT TEMPLATES AND CLIP LIBRARY
The document templates, pictures and sounds that come with the Program may be
used in documents that you create, including documents that you publish or
sell. You may not distribute them as a collection of their own.

5. SPELLING DICTIONARIES
The spelling dictionaries and the hyphenation module are licensed to you for
use with the Program only. Words that you add to your own user dictionary
belong to you.

6. NO WARRANTY
The Program is provided "as is", without warranty of any kind, either
expressed or implied, including but not limited to the implied warranties of
merchantability and fitness for a particular purpose. The whole risk as to
the quality and performance of the Program is with you.

7. LIMITATION OF LIABILITY
In no event shall the Orvanel project or its contributors be liable for any
damages whatsoever, including lost profits, lost documents, business
interruption or other loss, arising out of the use of or the inability to
use the Program, even if advised of the possibility of such damages.

8. TERMINATION
This licence ends automatically if you fail to comply with its terms. When it
ends you must remove every copy of the Program in your possession.

9. UPDATES
The Program may tell you when a newer version is available. It never sends
your documents or any other personal information anywhere, and it installs
nothing without asking you first.

10. EXPORT
You agree to comply with all laws and regulations that apply to the export
of the Program from the country in which you obtained it.

11. GENERAL
This agreement is the whole agreement between you and the Orvanel project
about the Program. If any part of it is found unenforceable, the rest of it
remains in force.

Copyright (C) 2019-2024 The Orvanel project. All rights reserved.
"""


def spell_list(rng, count, variant):
    lines = ["#ORVANEL-SPELL 2", "#LANG " + variant, "#WORDS %d" % count]
    for word in word_list(rng, count):
        if variant == "en-GB":
            word = word.replace("or", "our") if word.endswith("or") else word
        flags = "".join(sorted({rng.pick("SDGLNRMPZ") for _ in range(rng.below(3))}))
        lines.append(word + ("/" + flags if flags else ""))
    return crlf(lines)


def spell_cache(rng, size):
    """A hash table of word signatures: half structure, half noise."""
    out = bytearray(b"ORVC\x02\x00\x00\x00")
    slot = 0
    while len(out) < size:
        signature = rng.next() & 0xFFFFFFFF if rng.below(3) == 0 else 0
        out += struct.pack("<IHH", signature, slot & 0xFFFF, rng.below(12) if signature else 0)
        slot += 1
    return bytes(out[:size])


def affix_table(rng, count, variant):
    lines = ["[orvanel.zlx]", "variant=" + variant]
    for i in range(count):
        rule = rng.pick(["SFX", "PFX", "REP"])
        lines.append("%s %c %s %s %s" % (rule, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i % 26],
                                        pseudo_word(rng)[:4], pseudo_word(rng)[:5],
                                        rng.pick([".", "[^aeiou]y", "e", "[aeiou]"])))
    return crlf(lines)


def hyphenation(rng, count):
    lines = ["ORVANEL HYPHENATION PATTERNS", "LEFTMIN 2", "RIGHTMIN 3"]
    for _ in range(count):
        word = pseudo_word(rng)
        lines.append("".join(ch + (str(rng.below(6)) if rng.below(3) == 0 else "") for ch in word))
    return crlf(lines)


def sound_scheme(rng, events):
    """A RIFF-like container of short 8-bit PCM sounds with a little noise."""
    body = bytearray()
    for index in range(events):
        name = ("Event%02d" % index).encode("ascii")
        period, length = 20 + rng.below(60), 14000 + rng.below(12000)
        samples = bytes(128 + (60 if (i // period) % 2 else -60) * (length - i) // length +
                        (rng.next() & 0x1F) - 16 for i in range(length))
        chunk = name + struct.pack("<I", len(samples)) + samples
        body += b"SND " + struct.pack("<I", len(chunk)) + chunk
    return b"RIFF" + struct.pack("<I", len(body) + 4) + b"ORVS" + bytes(body)


TEMPLATE_KINDS = [("Letters", "Letter", 16), ("Faxes", "Fax", 10), ("Reports", "Report", 12),
                  ("Memos", "Memo", 8), ("Resumes", "Resume", 8), ("Newsletters", "Newsletter", 8),
                  ("Invoices", "Invoice", 8), ("Agendas", "Agenda", 6), ("Brochures", "Brochure", 6),
                  ("Calendars", "Calendar", 6)]


def rtf_document(rng, title, paragraphs, words):
    parts = [r"{\rtf1\ansi\ansicpg1252\deff0",
             r"{\fonttbl{\f0\froman Times New Roman;}{\f1\fswiss Arial;}}",
             r"{\colortbl;\red0\green0\blue0;\red0\green51\blue102;}",
             r"{\info{\title %s}{\author Orvanel}}" % title,
             r"\paperw12240\paperh15840\margl1440\margr1440\margt1440\margb1440",
             r"\pard\sb240\sa120\f1\fs32\cf2\b %s\b0\par" % title]
    for _ in range(paragraphs):
        text = " ".join(sentence(rng, words) for _ in range(3 + rng.below(5)))
        parts.append(r"\pard\sa120\f0\fs24\cf1 %s\par" % text)
    parts.append("}")
    return crlf(parts)


CLIP_KINDS = [("Animals", ["cat", "dog", "horse", "owl", "fish", "rabbit", "bear", "duck"]),
              ("Buildings", ["house", "tower", "bridge", "church", "barn", "castle"]),
              ("Business", ["chart", "handshake", "briefcase", "phone", "calculator", "desk"]),
              ("Food", ["apple", "cake", "coffee", "bread", "cheese", "pear"]),
              ("Holidays", ["gift", "candle", "star", "balloon", "pumpkin", "tree"]),
              ("Nature", ["sun", "cloud", "flower", "leaf", "mountain", "wave"]),
              ("People", ["teacher", "runner", "doctor", "family", "reader", "cook"]),
              ("Shapes", ["circle", "square", "triangle", "arrow", "heart", "diamond"]),
              ("Sports", ["ball", "racket", "bicycle", "trophy", "skates", "goal"]),
              ("Transport", ["car", "train", "ship", "plane", "bus", "truck"]),
              ("Borders", ["plain", "double", "dotted", "wavy", "floral", "celtic"]),
              ("Signs", ["stop", "exit", "info", "warning", "parking", "arrow"])]


def clip_bitmap(rng, width, height):
    """An 8-bit palettised BMP: a few coloured shapes over a noisy gradient."""
    palette = b"".join(struct.pack("<BBBB", rng.below(256), rng.below(256), rng.below(256), 0)
                       for _ in range(256))
    stride = (width + 3) & ~3
    shapes = [(rng.below(width), rng.below(height), 3 + rng.below(width // 2), rng.below(256))
              for _ in range(2 + rng.below(4))]
    rows = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            colour = (x + y) // 4 + (rng.next() & 15)
            for cx, cy, r, c in shapes:
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    colour = c + (rng.next() & 7 if rng.below(2) == 0 else 0)
            row.append(colour & 0xFF)
        rows += row + bytes(stride - width)
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return header + info + palette + bytes(rows)


def dos_time(rng):
    """Seconds since the epoch of a local time with whole, even seconds, 2019 to 2024."""
    # Hours 8 to 18 stay clear of daylight-saving changes, which fall at night.
    fields = (2019 + rng.below(6), 1 + rng.below(12), 1 + rng.below(28),
              8 + rng.below(11), rng.below(60), 2 * rng.below(30), 0, 0, -1)
    return int(time.mktime(fields))


def product_files(rng, orv_path):
    """Yields (archive name with '/' separators, bytes) in a fixed order."""
    with open(orv_path, "rb") as f:
        yield "orv.exe", f.read()
    yield "License.txt", crlf(LICENSE.splitlines())
    yield "English (American).asc", spell_list(rng, 54000, "en-US")
    yield "English (British).asc", spell_list(rng, 51000, "en-GB")
    yield "English (American).cache", spell_cache(rng, 200000)
    yield "english.zlx", affix_table(rng, 7000, "en")
    yield "us.zlx", affix_table(rng, 1800, "en-US")
    yield "uk.zlx", affix_table(rng, 1800, "en-GB")
    yield "userdicen.tlx", crlf(["#ORVANEL-USER 1"] + sorted(pseudo_word(rng) for _ in range(24)))
    yield "Hyphenation.dat", hyphenation(rng, 22000)
    yield "Basic.asn", sound_scheme(rng, 21)
    words = word_list(rng, 3000)
    for folder, stem, count in TEMPLATE_KINDS:
        for i in range(1, count + 1):
            title = "%s %d" % (stem, i)
            yield ("Templates/%s/%s.rtf" % (folder, title),
                   rtf_document(rng, title, 8 + rng.below(18), words))
    for folder, subjects in CLIP_KINDS:
        for i in range(17):
            name = "%s %d" % (subjects[i % len(subjects)], 1 + i // len(subjects))
            size = rng.pick([(32, 32), (48, 48), (64, 48), (64, 64), (80, 60)])
            yield "Clip Library/%s/%s.bmp" % (folder, name), clip_bitmap(rng, *size)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="folder to create (must not exist or be empty)")
    parser.add_argument("--orv", required=True, help="the built orv.exe")
    args = parser.parse_args()
    rng = SplitMix64(0x0F7A2E1206)
    count = total = 0
    for name, data in product_files(rng, args.orv):
        path = os.path.join(args.out, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        stamp = dos_time(rng)
        os.utime(path, ns=(stamp * 10**9, stamp * 10**9))
        count += 1
        total += len(data)
    print("sample payload: %d files, %d bytes in %s" % (count, total, args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
