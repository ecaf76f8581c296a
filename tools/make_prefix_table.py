#!/usr/bin/env python3
"""Writes the logger's prefix table, arrlpre2.txt, from the CSV country file (cty.csv).

Every prefix of every DXCC entity becomes one line of eight fields:
"prefix","country","continent",longitude,latitude,cqzone,ituzone,utcoffset
in the quoted-list format of the log (CR LF, Latin-1), sorted by prefix in byte order.
Exact calls ("=") are left out; per-prefix overrides of zones, continent, position and UTC
offset are applied and their markers stripped. Entities marked "*" (WAE-only, not DXCC) are
left out, so their calls resolve to the DXCC country that holds them.

    tools/make_prefix_table.py [cty.csv] [arrlpre2.txt]
"""
import csv
import re
import sys

DEFAULT_SOURCE = "/usr/share/hamradio-files/cty.csv"
DEFAULT_TARGET = "data/arrlpre2.txt"

# The logger treats these two as the home countries and shows the operator's own
# state or province instead; Alaska and Hawaii keep their names.
COUNTRY_NAMES = {"United States": "USA"}

OVERRIDE = re.compile(r"\((\d+)\)|\[(\d+)\]|<([-\d.]+)/([-\d.]+)>|\{(\w+)\}|~([-\d.]+)~")


def split_prefix(token, entity):
    """Prefix text and its fields after the token's override markers."""
    fields = dict(entity)
    cut = len(token)
    for m in OVERRIDE.finditer(token):
        cut = min(cut, m.start())
        cq, itu, lat, lon, continent, utc = m.groups()
        if cq:
            fields["cq"] = cq
        if itu:
            fields["itu"] = itu
        if lat:
            fields["lat"], fields["lon"] = lat, lon
        if continent:
            fields["continent"] = continent
        if utc:
            fields["utc"] = utc
    return token[:cut], fields


def entries(rows):
    for row in rows:
        if len(row) < 10:
            raise ValueError("short line in the country file: %r" % (row,))
        primary, name, _dxcc, continent, cq, itu, lat, lon, utc, prefixes = row[:10]
        if primary.startswith("*"):
            continue
        entity = {
            "country": COUNTRY_NAMES.get(name, name),
            "continent": continent,
            "cq": cq,
            "itu": itu,
            "lat": lat,
            "lon": lon,
            "utc": utc,
        }
        for token in prefixes.rstrip(";").split():
            if token.startswith("="):
                continue
            prefix, fields = split_prefix(token, entity)
            if prefix:
                yield prefix, fields


def release_of(rows):
    """The release date the file carries as its pseudo-call =VERyyyymmdd."""
    for row in rows:
        m = re.search(r"=VER(\d{8})", row[-1])
        if m:
            return m.group(1)
    return "unknown"


def quoted(text):
    if '"' in text:
        raise ValueError("a double quote cannot be stored in the table: %r" % text)
    return '"' + text + '"'


def line(prefix, f):
    values = [quoted(prefix), quoted(f["country"]), quoted(f["continent"]),
              f["lon"], f["lat"], f["cq"], f["itu"], f["utc"]]
    return ",".join(values) + "\r\n"


def main(argv):
    source = argv[1] if len(argv) > 1 else DEFAULT_SOURCE
    target = argv[2] if len(argv) > 2 else DEFAULT_TARGET
    with open(source, encoding="latin-1", newline="") as f:
        rows = [row for row in csv.reader(f) if row]
    table = sorted(entries(rows), key=lambda e: e[0].encode("latin-1"))
    with open(target, "w", encoding="latin-1", newline="") as out:
        out.writelines(line(prefix, fields) for prefix, fields in table)
    print("%s: %d prefixes from %s (release %s)" % (target, len(table), source, release_of(rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
