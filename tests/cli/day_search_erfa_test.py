#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""vantoril-lst --transit, --lower and --when against ERFA itself (python3-erfa,
an independent route from UTC to UT1 and TT): for seeded (date, longitude,
right ascension or sidereal time) triples from 1900 to 2100, ERFA's sidereal
time at each printed instant is the target within 1 us, and each day has
exactly the instants ERFA's own count of crossings says (one or two).

    day_search_erfa_test.py PATH/TO/vantoril-lst"""
import datetime
import json
import math
import random
import subprocess
import sys
import warnings

import erfa

warnings.simplefilter("ignore")  # ERFA's "dubious year" beyond its table
TOLERANCE_SECONDS = 1e-6
TURN = 2 * math.pi


def triples(count, seed):
    rng = random.Random(seed)
    rows = [("2016-12-31", 0.0, 6.675), ("1972-06-30", -75.5, 12.0)]  # two leap-second days
    while len(rows) < count:
        day = datetime.date(1900, 1, 1) + datetime.timedelta(days=rng.randrange(73414))
        rows.append((day.isoformat(), round(rng.uniform(-180, 180), 4), rng.uniform(0, 24)))
    return rows


def clock(hours):
    seconds = round(hours * 3600, 3) % 86400
    return f"{int(seconds // 3600):02d}:{int(seconds // 60 % 60):02d}:{seconds % 60:06.3f}"


def erfa_lst(utc1, utc2, longitude, apparent):
    tai1, tai2 = erfa.utctai(utc1, utc2)
    tt1, tt2 = erfa.taitt(tai1, tai2)
    ut11, ut12 = erfa.utcut1(utc1, utc2, 0.0)
    g = erfa.gst06a(ut11, ut12, tt1, tt2) if apparent else erfa.gmst06(ut11, ut12, tt1, tt2)
    return g + math.radians(longitude)


def utc_of(text):
    date, time = text.split("T")
    y, m, d = (int(x) for x in date.split("-"))
    hh, mm, ss = time.split(":")
    return erfa.dtf2d("UTC", y, m, d, int(hh), int(mm), float(ss))


def expected_count(date, longitude, target_rad, apparent):
    """Crossings in [0h, next 0h): the first one d0 after 0h, then each turn on."""
    y, m, d = (int(x) for x in date.split("-"))
    start = erfa.dtf2d("UTC", y, m, d, 0, 0, 0.0)
    nxt = datetime.date(y, m, d) + datetime.timedelta(days=1)
    end = erfa.dtf2d("UTC", nxt.year, nxt.month, nxt.day, 0, 0, 0.0)
    s = erfa_lst(*start, longitude, apparent)
    advance = (erfa_lst(*end, longitude, apparent) - s) % TURN + TURN  # a little over a turn a day
    d0 = (target_rad - s) % TURN
    return 1 + (d0 + TURN < advance)


def check(binary, option, apparent, rows):
    flag = ["--transit", "-"] if option != "--when" else ["--when", "-"]
    if option == "--lower":
        flag.append("--lower")
    options = ["--model", "iau2006", "--eop", "none", "--format", "json"] + (["--apparent"] if apparent else [])
    text = "".join(f"{date} {lng:.4f} {clock(target)}\n" for date, lng, target in rows)
    done = subprocess.run([binary, "--batch", *options, *flag], input=text, capture_output=True, text=True,
                          check=False)
    if done.returncode != 0:
        sys.exit(f"vantoril-lst failed ({done.returncode}): {done.stderr}{done.stdout[:2000]}")
    results = [json.loads(line) for line in done.stdout.splitlines()]
    by_date = {}
    for r in results:
        by_date.setdefault((r["date"], r["longitude_deg"], r.get("ra", r.get("target_lst"))), []).append(r)
    worst, twice = 0.0, 0
    for date, lng, target in rows:
        target_text = clock(target)
        found = by_date.get((date, float(f"{lng:.4f}"), target_text), [])
        hours = sum(float(x) / 60 ** i for i, x in enumerate(target_text.split(":")))
        sought = math.radians(15 * (hours + (12 if option == "--lower" else 0)))
        count = expected_count(date, float(f"{lng:.4f}"), sought, apparent)
        assert len(found) == count, (date, lng, target_text, count, found)
        twice += count == 2
        for r in found:
            assert r["utc"].startswith(date) or count == 1, r
            off = (erfa_lst(*utc_of(r["utc"]), r["longitude_deg"], apparent) - sought + math.pi) % TURN - math.pi
            seconds = abs(off) * 86400 / TURN
            worst = max(worst, seconds)
            assert seconds < TOLERANCE_SECONDS, (r, seconds)
    assert twice > 0, "no two-answer day among the triples"
    print(f"{option:9s} {'apparent' if apparent else 'mean':8s}: {len(rows)} days, {len(results)} instants, "
          f"{twice} days with two, worst {worst * 1e9:.1f} ns")


def main():
    binary = sys.argv[1]
    check(binary, "--transit", False, triples(1000, 1))
    check(binary, "--when", False, triples(1000, 2))
    check(binary, "--lower", True, triples(200, 3))


if __name__ == "__main__":
    main()
