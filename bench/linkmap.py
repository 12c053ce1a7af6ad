#!/usr/bin/env python3
"""What an executable's code and data are made of, from the GNU ld map of its link.

Usage: linkmap.py MAP [TOP]   -- prints the bytes each library (and each of our layers)
contributes to .text, .rdata, .pdata and .xdata, largest first, then the TOP largest objects
of the toolchain's own libraries."""
import collections
import re
import sys

KINDS = ("text", "rdata", "pdata", "xdata")


def input_sections(lines):
    """(section name, size, input file) for every input section the link kept."""
    full = re.compile(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S+)")
    name_only = re.compile(r"^ (\.\S+)$")
    rest = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S+)")
    for i, line in enumerate(lines):
        m = full.match(line)
        if m:
            name, addr, size, source = m.groups()
        else:
            m = name_only.match(line)
            n = rest.match(lines[i + 1]) if m and i + 1 < len(lines) else None
            if not n:
                continue
            name = m.group(1)
            addr, size, source = n.groups()
        # Sections the link dropped are listed at address 0.
        if int(addr, 16) and int(size, 16):
            yield name, int(size, 16), source


def kind_of(section):
    top = section.split("$")[0].lstrip(".")
    for kind in KINDS:
        if top.startswith(kind):
            return kind
    return None


def main():
    lines = open(sys.argv[1], encoding="utf-8", errors="replace").read().split("\n")
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    per_library = collections.defaultdict(collections.Counter)
    per_object = collections.Counter()
    for section, size, source in input_sections(lines):
        kind = kind_of(section)
        if not kind:
            continue
        library = source.split("(")[0].rsplit("/", 1)[-1]
        per_library[library][kind] += size
        if "(" in source and not library.startswith(("liborv", "objects")):
            per_object[source.rsplit("/", 1)[-1]] += size
    totals = collections.Counter()
    print(f"{'library':32} " + " ".join(f"{k:>7}" for k in KINDS) + "   total")
    for library, sizes in sorted(per_library.items(), key=lambda kv: -sum(kv[1].values())):
        totals.update(sizes)
        print(f"{library:32} " + " ".join(f"{sizes[k]:7d}" for k in KINDS) + f" {sum(sizes.values()):7d}")
    print(f"{'all':32} " + " ".join(f"{totals[k]:7d}" for k in KINDS) + f" {sum(totals.values()):7d}")
    print(f"\nlargest objects from the toolchain's libraries:")
    for name, size in per_object.most_common(top):
        print(f"{size:7d} {name}")


if __name__ == "__main__":
    main()
