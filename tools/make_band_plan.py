#!/usr/bin/env python3
"""Writes data/BandPlan.txt: the US amateur privileges per licence class on 160-6 m, 60 m and
2 m, from 47 CFR 97.301 (frequency privileges) and 97.305 (emissions: a segment where phone is
authorised is a phone segment "PH", a segment for CW and data only is "CW").

Usage: tools/make_band_plan.py data/BandPlan.txt
Classes: N Novice, T Technician, P Technician Plus (the same HF privileges as Novice and
Technician, 97.301(e)), G General, A Advanced, E Extra; "O" rows are the band's own limits.
"""
import sys

EFFECTIVE = "March 5, 2012 (47 CFR 97.301, 97.305)"

# band, outer limits, then per class the segments (lower, upper, mode) in MHz.
NOVICE_TECH_HF = {
    "80": [(3.525, 3.6, "CW")],
    "40": [(7.025, 7.125, "CW")],
    "15": [(21.025, 21.2, "CW")],
    "10": [(28.0, 28.3, "CW"), (28.3, 28.5, "PH")],
}
VHF = {
    "6": [(50.0, 50.1, "CW"), (50.1, 54.0, "PH")],
    "2": [(144.0, 144.1, "CW"), (144.1, 148.0, "PH")],
}
# 60 m: five 2.8 kHz channels (centres 5332, 5348, 5358.5, 5373, 5405 kHz), upper sideband.
SIXTY = [(5.3305, 5.3333, "PH"), (5.3465, 5.3493, "PH"), (5.357, 5.3598, "PH"),
         (5.3715, 5.3743, "PH"), (5.4035, 5.4063, "PH")]
COMMON_GAE = {
    "160": [(1.8, 2.0, "PH")],
    "60": SIXTY,
    "30": [(10.1, 10.15, "CW")],
    "17": [(18.068, 18.11, "CW"), (18.11, 18.168, "PH")],
    "12": [(24.89, 24.93, "CW"), (24.93, 24.99, "PH")],
    "10": [(28.0, 28.3, "CW"), (28.3, 29.7, "PH")],
}
EXTRA = {
    "80": [(3.5, 3.6, "CW"), (3.6, 4.0, "PH")],
    "40": [(7.0, 7.125, "CW"), (7.125, 7.3, "PH")],
    "20": [(14.0, 14.15, "CW"), (14.15, 14.35, "PH")],
    "15": [(21.0, 21.2, "CW"), (21.2, 21.45, "PH")],
}
ADVANCED = {
    "80": [(3.525, 3.6, "CW"), (3.7, 4.0, "PH")],
    "40": [(7.025, 7.125, "CW"), (7.125, 7.3, "PH")],
    "20": [(14.025, 14.15, "CW"), (14.175, 14.35, "PH")],
    "15": [(21.025, 21.2, "CW"), (21.225, 21.45, "PH")],
}
GENERAL = {
    "80": [(3.525, 3.6, "CW"), (3.8, 4.0, "PH")],
    "40": [(7.025, 7.125, "CW"), (7.175, 7.3, "PH")],
    "20": [(14.025, 14.15, "CW"), (14.225, 14.35, "PH")],
    "15": [(21.025, 21.2, "CW"), (21.275, 21.45, "PH")],
}
BANDS = [("160", 1.8, 2.0), ("80", 3.5, 4.0), ("60", 5.3305, 5.4063), ("40", 7.0, 7.3),
         ("30", 10.1, 10.15), ("20", 14.0, 14.35), ("17", 18.068, 18.168), ("15", 21.0, 21.45),
         ("12", 24.89, 24.99), ("10", 28.0, 29.7), ("6", 50.0, 54.0), ("2", 144.0, 148.0)]


def segments(code, band):
    if code in ("N", "T", "P"):
        if band in NOVICE_TECH_HF:
            return NOVICE_TECH_HF[band]
        return VHF.get(band, []) if code != "N" else []
    table = {"G": GENERAL, "A": ADVANCED, "E": EXTRA}[code]
    return table.get(band) or COMMON_GAE.get(band) or VHF.get(band, [])


def number(value):
    return f"{value:.4f}".rstrip("0").rstrip(".")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    lines = [f'"{EFFECTIVE}"']
    for band, lower, upper in BANDS:
        lines.append(f'"{band}","O","PH",{number(lower)},{number(upper)}')
        # Extra first: the radio takes its mode from the first Extra row that holds the frequency.
        for code in ("E", "A", "G", "P", "T", "N"):
            for seg_lower, seg_upper, mode in segments(code, band):
                lines.append(f'"{band}","{code}","{mode}",{number(seg_lower)},{number(seg_upper)}')
    with open(sys.argv[1], "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


if __name__ == "__main__":
    main()
