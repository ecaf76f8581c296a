#!/usr/bin/env python3
"""Writes the logger's country table for the ADIF export, ADIFCnt.txt, from cty.csv.

One line per DXCC entity: "country",dxcc
in the quoted-list format of the log (CR LF, Latin-1), sorted by country name. Names are
spelled exactly as make_prefix_table.py spells them in arrlpre2.txt (the United States is
"USA"), so every country the prefix table can put in a record finds its entity number.
Entities marked "*" (WAE-only, not DXCC) are left out, as in the prefix table.

    tools/make_country_table.py [cty.csv] [ADIFCnt.txt]
"""
import csv
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_prefix_table import COUNTRY_NAMES, DEFAULT_SOURCE, quoted, release_of  # noqa: E402

DEFAULT_TARGET = "data/ADIFCnt.txt"


def countries(rows):
    """(name, entity number) of every DXCC entity, each name once."""
    seen = {}
    for row in rows:
        if len(row) < 10:
            raise ValueError("short line in the country file: %r" % (row,))
        primary, name, dxcc = row[0], row[1], row[2]
        if primary.startswith("*"):
            continue
        name = COUNTRY_NAMES.get(name, name)
        number = int(dxcc)
        if number <= 0:
            raise ValueError("no entity number for %r" % name)
        if seen.setdefault(name, number) != number:
            raise ValueError("%r has two entity numbers" % name)
    return sorted(seen.items(), key=lambda item: item[0].encode("latin-1"))


def main(argv):
    source = argv[1] if len(argv) > 1 else DEFAULT_SOURCE
    target = argv[2] if len(argv) > 2 else DEFAULT_TARGET
    with open(source, encoding="latin-1", newline="") as f:
        rows = [row for row in csv.reader(f) if row]
    table = countries(rows)
    with open(target, "w", encoding="latin-1", newline="") as out:
        out.writelines("%s,%d\r\n" % (quoted(name), number) for name, number in table)
    print("%s: %d countries from %s (release %s)" % (target, len(table), source, release_of(rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
