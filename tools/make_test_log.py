#!/usr/bin/env python3
"""Writes a contest log (log.txt format) of a given size for the benchmarks and load tests.

    tools/make_test_log.py COUNT OUT [--seed N] [--band-share BAND:WEIGHT ...]

The mix is that of a busy VELK contest: contacts on all seven bands (most on 40 and 20 m), the 63
states and provinces from calls of their own districts, a share of North American DX countries
with their own prefixes, calls of real shapes (1x2, 1x3, 2x1, 2x2, 2x3, portable), common first
names, UTC times rising through a 48-hour contest, frequencies inside each band (some empty).
No station is worked twice on a band, so the log holds no dupes. The same COUNT and seed always
give the same file. Python 3, standard library only.
"""
import argparse
import random
import string

BANDS = ["160", "80", "40", "20", "15", "10", "6"]
BAND_WEIGHTS = [4, 14, 30, 30, 12, 7, 3]
BAND_MHZ = {"160": (1.800, 2.000), "80": (3.500, 4.000), "40": (7.000, 7.300), "20": (14.000, 14.350),
            "15": (21.000, 21.450), "10": (28.000, 29.700), "6": (50.000, 54.000)}

# US call districts and their states.
US_DISTRICTS = {
    "1": ["CT", "MA", "ME", "NH", "RI", "VT"], "2": ["NY", "NJ"], "3": ["DE", "PA", "MD"],
    "4": ["AL", "GA", "KY", "NC", "FL", "SC", "TN", "VA"], "5": ["AR", "LA", "MS", "NM", "TX", "OK"],
    "6": ["CA"], "7": ["AZ", "WA", "ID", "MT", "NV", "OR", "UT", "WY"], "8": ["MI", "OH", "WV"],
    "9": ["IL", "IN", "WI"], "0": ["CO", "IA", "KS", "MN", "MO", "NE", "ND", "SD"],
}
# Canadian prefixes and their provinces and territories.
CANADA = [("VE1", "NS"), ("VE2", "QC"), ("VA2", "QC"), ("VE3", "ON"), ("VA3", "ON"), ("VE4", "MB"),
          ("VE5", "SK"), ("VE6", "AB"), ("VE7", "BC"), ("VA7", "BC"), ("VE8", "NWT"), ("VE9", "NB"),
          ("VO1", "NL"), ("VO2", "NL"), ("VY0", "NU"), ("VY1", "YT"), ("VY2", "PE")]
# North American DX countries with prefixes their stations use.
NA_DX = [("XE", "Mexico"), ("XE", "Mexico"), ("CO", "Cuba"), ("CM", "Cuba"), ("C6", "Bahamas"),
         ("HI", "Dominican Republic"), ("TI", "Costa Rica"), ("KP4", "Puerto Rico"),
         ("KP2", "US Virgin Islands"), ("VP9", "Bermuda"), ("6Y", "Jamaica"), ("HR", "Honduras"),
         ("TG", "Guatemala"), ("YN", "Nicaragua"), ("YS", "El Salvador"), ("HP", "Panama"),
         ("V3", "Belize"), ("8P", "Barbados"), ("J3", "Grenada"), ("FM", "Martinique"),
         ("FG", "Guadeloupe"), ("ZF", "Cayman Islands"), ("VP5", "Turks & Caicos Islands"),
         ("OX", "Greenland"), ("V2", "Antigua & Barbuda"), ("J6", "St. Lucia"), ("FP", "St. Pierre & Miquelon")]
NAMES = ["BOB", "BILL", "JIM", "JOHN", "MIKE", "DAVE", "TOM", "STEVE", "RICK", "DAN", "JOE", "PAT",
         "ANN", "MARY", "SUE", "KAREN", "LINDA", "JEAN", "CARL", "RON", "KEN", "GARY", "AL", "ED",
         "FRED", "HANK", "JACK", "PAUL", "RAY", "SAM", "TED", "WALT", "CHUCK", "DOUG", "GREG",
         "JUAN", "JOSE", "LUIS", "PIERRE", "ANDRE", "YVES", "NORM", "BRUCE", "DON", "LARRY", "MARK",
         "PETE", "SCOTT", "TIM", "ART", "ERNIE", "FRANK", "GENE", "HAL", "LEO", "MEL", "NED", "OTTO"]


def letters(rng, n):
    return "".join(rng.choice(string.ascii_uppercase) for _ in range(n))


def us_call(rng):
    district = rng.choice(list(US_DISTRICTS))
    shape = rng.random()
    if shape < 0.30:  # 1x3: K1ABC
        call = rng.choice("KNW") + district + letters(rng, 3)
    elif shape < 0.40:  # 1x2: W1AB
        call = rng.choice("KNW") + district + letters(rng, 2)
    elif shape < 0.75:  # 2x3: KB1ABC
        call = rng.choice("KNW") + rng.choice("ABCDEFGIJKMNOQUVWXZ") + district + letters(rng, 3)
    elif shape < 0.90:  # 2x2: AA1BC
        call = "A" + rng.choice("ABCDEFGIJKL") + district + letters(rng, 2)
    else:  # 2x1: KA1B
        call = rng.choice("KNW") + rng.choice(string.ascii_uppercase) + district + letters(rng, 1)
    return call, rng.choice(US_DISTRICTS[district]), "NA"


def canada_call(rng):
    prefix, province = rng.choice(CANADA)
    return prefix + letters(rng, rng.choice([2, 3, 3])), province, "NA"


def dx_call(rng):
    prefix, country = rng.choice(NA_DX)
    digit = "" if prefix[-1].isdigit() else str(rng.randrange(10))
    return prefix + digit + letters(rng, rng.choice([1, 2, 3])), country, "NA"


def station(rng):
    kind = rng.random()
    if kind < 0.80:
        call, location, continent = us_call(rng)
        if rng.random() < 0.01:  # portable in another district
            call += "/" + str(rng.randrange(10))
    elif kind < 0.93:
        call, location, continent = canada_call(rng)
    else:
        call, location, continent = dx_call(rng)
    return call, rng.choice(NAMES), location, continent


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int)
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--sent-name", default="LEE")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    # A pool of stations about a third the size of the log: each is worked on up to all bands.
    stations = {}
    pool_size = max(50, args.count // 3)
    while len(stations) < pool_size:
        call, name, location, continent = station(rng)
        stations.setdefault(call, (name, location, continent))
    calls = list(stations)
    worked = set()

    lines = []
    seconds = 0
    total_seconds = 48 * 3600
    step = total_seconds / max(1, args.count)
    for _ in range(args.count):
        while True:
            call = rng.choice(calls)
            band = rng.choices(BANDS, BAND_WEIGHTS)[0]
            if (call, band) not in worked:
                break
            if len(worked) >= len(calls) * len(BANDS):
                raise SystemExit("the station pool is exhausted")
        worked.add((call, band))
        name, location, continent = stations[call]
        seconds += rng.uniform(0.2, 1.8) * step
        day, rest = divmod(int(seconds), 86400)
        date = "2026/01/%02d" % (10 + day)
        time = "%02d:%02d:%02d" % (rest // 3600, rest // 60 % 60, rest % 60)
        low, high = BAND_MHZ[band]
        frequency = "" if rng.random() < 0.15 else "%.3f" % rng.uniform(low, high)
        fields = [call, name, location, date, time, band, continent, args.sent_name, frequency]
        lines.append(",".join('"%s"' % f for f in fields) + "\r\n")

    with open(args.out, "w", encoding="latin-1", newline="") as out:
        out.writelines(lines)


if __name__ == "__main__":
    main()
