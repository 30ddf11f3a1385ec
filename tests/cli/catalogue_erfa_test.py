#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""vantoril-lst --transit and --ra with --dec (a star's ICRS catalogue place)
against ERFA itself (python3-erfa): for seeded days from 1900 to 2100,
longitudes and places all over the sky, the hour angle of the apparent place
(era00 + longitude - the CIRS right ascension of atci13) is 0 within 1 us at
each printed transit (12 h for --lower), and the hour angle printed beside a
single instant is ERFA's within 1 us, also with UT1 from an IERS table.

    catalogue_erfa_test.py PATH/TO/vantoril-lst"""
import datetime
import json
import math
import os
import random
import subprocess
import sys
import warnings

import erfa

warnings.simplefilter("ignore")  # ERFA's "dubious year" beyond its table
TOLERANCE_SECONDS = 1e-6
TURN = 2 * math.pi


def places(count, seed):
    rng = random.Random(seed)
    rows = [("2026-12-15", -79.85, 5 + 35 / 60 + 17.3 / 3600, -(5 + 23 / 60 + 28 / 3600))]  # M42
    while len(rows) < count:
        day = datetime.date(1900, 1, 1) + datetime.timedelta(days=rng.randrange(73414))
        dec = math.degrees(math.asin(rng.uniform(-1, 1)))
        rows.append((day.isoformat(), round(rng.uniform(-180, 180), 4), rng.uniform(0, 24), dec))
    # As written on the lines: to 0.0001 s of time and of arc.
    return [(d, lng, round(ra * 3600, 4) / 3600, math.copysign(round(abs(dec) * 3600, 4) / 3600, dec))
            for d, lng, ra, dec in rows]


def sexagesimal(value, sign):
    magnitude = round(abs(value) * 3600, 4)
    text = f"{int(magnitude // 3600):02d}:{int(magnitude // 60 % 60):02d}:{magnitude % 60:07.4f}"
    return ("-" if value < 0 else "+") + text if sign else text


def check(fine, *what):
    """A failed check ends the test (asserts vanish under python3 -O)."""
    if not fine:
        sys.exit("FAIL: " + " ".join(str(w) for w in what))


def hour_angle(utc, longitude, ra_hours, dec_degrees, dut1=0.0):
    """ERFA's hour angle of the apparent place, radians in [-pi, pi)."""
    date, time = utc.split("T")
    y, m, d = (int(x) for x in date.split("-"))
    hh, mm, ss = time.split(":")
    u1, u2 = erfa.dtf2d("UTC", y, m, d, int(hh), int(mm), float(ss))
    tt1, tt2 = erfa.taitt(*erfa.utctai(u1, u2))
    ut1, ut2 = erfa.utcut1(u1, u2, dut1)
    ri, _, _ = erfa.atci13(math.radians(15 * ra_hours), math.radians(dec_degrees), 0, 0, 0, 0, tt1, tt2)
    return (erfa.era00(ut1, ut2) + math.radians(longitude) - ri + math.pi) % TURN - math.pi


def run(binary, args, lines, eop="none"):
    done = subprocess.run([binary, "--batch", "--model", "iau2006", "--eop", eop, "--format", "json", *args],
                          input="".join(lines), capture_output=True, text=True, check=False)
    if done.returncode != 0:
        sys.exit(f"vantoril-lst failed ({done.returncode}): {done.stderr}{done.stdout[:2000]}")
    return [json.loads(line) for line in done.stdout.splitlines()]


def check_transits(binary, lower, rows):
    lines = [f"{d} {lng:.4f} {sexagesimal(ra, False)} {sexagesimal(dec, True)}\n" for d, lng, ra, dec in rows]
    results = run(binary, ["--transit", "-", "--dec", "-"] + (["--lower"] if lower else []), lines)
    # The target as the test wrote it, found by the line's day and longitude.
    targets = {(d, lng): (ra, dec) for d, lng, ra, dec in rows}
    worst = 0.0
    for r in results:
        check(r["utc"] is not None, "no transit:", r)
        ra, dec = targets.get((r["date"], r["longitude_deg"]), (None, None))
        check(ra is not None, "a transit of no line's day and longitude:", r)
        off = hour_angle(r["utc"], r["longitude_deg"], ra, dec) - (math.pi if lower else 0)
        off = (off + math.pi) % TURN - math.pi
        seconds = abs(off) * 86400 / TURN
        worst = max(worst, seconds)
        check(seconds < TOLERANCE_SECONDS, r, seconds)
    check(len(results) >= len(rows), len(results), "answers for", len(rows), "lines")
    print(f"{'lower' if lower else 'upper'} transits: {len(rows)} days, {len(results)} instants, "
          f"worst {worst * 1e9:.1f} ns from hour angle {'12 h' if lower else '0'}")


def check_hour_angles(binary, rows, eop="none"):
    """Each line's hour angle against ERFA's for the instant, longitude and
    place the test wrote, with the UT1 - UTC the program says it took."""
    rng = random.Random(7)
    asked = [(f"{d}T{rng.randrange(24):02d}:{rng.randrange(60):02d}:{rng.randrange(60):02d}", lng, ra, dec)
             for d, lng, ra, dec in rows]
    lines = [f"{utc}Z {lng:.4f} {sexagesimal(ra, False)} {sexagesimal(dec, True)}\n" for utc, lng, ra, dec in asked]
    results = run(binary, ["--dec", "-", "--precision", "6"], lines, eop)
    check(len(results) == len(asked), len(results), "answers for", len(asked), "lines")
    worst = 0.0
    for (utc, lng, ra, dec), r in zip(asked, results):
        ours = r["hour_angle_hours"] * math.pi / 12
        theirs = hour_angle(utc, lng, ra, dec, r.get("dut1", 0.0))
        seconds = abs((ours - theirs + math.pi) % TURN - math.pi) * 86400 / TURN
        worst = max(worst, seconds)
        check(seconds < TOLERANCE_SECONDS, r, seconds)
    print(f"hour angles{' with ' + eop if eop != 'none' else ''}: {len(rows)} instants, worst {worst * 1e9:.1f} ns")


def main():
    binary = sys.argv[1]
    check_transits(binary, False, places(300, 1))
    check_transits(binary, True, places(100, 2))
    check_hour_angles(binary, places(300, 3))
    # UT1 from a table: the days the excerpt covers.
    eop = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "finals2000A.excerpt")
    check_hour_angles(binary, [(f"2016-12-{30 + i % 2}", lng, ra, dec) for i, (_, lng, ra, dec) in
                               enumerate(places(20, 4))], eop)


if __name__ == "__main__":
    main()
