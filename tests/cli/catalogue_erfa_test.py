#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""vantoril-lst --transit and --ra with --dec (a star's ICRS catalogue place)
against ERFA itself (python3-erfa): for seeded days from 1900 to 2100,
longitudes and places all over the sky, the hour angle of the apparent place
(era00 + longitude - the CIRS right ascension of atci13) is 0 within 1 us at
each printed transit (12 h for --lower), and the hour angle printed beside a
single instant is ERFA's within 1 us.

    catalogue_erfa_test.py PATH/TO/vantoril-lst"""
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


def places(count, seed):
    rng = random.Random(seed)
    rows = [("2026-12-15", -79.85, 5 + 35 / 60 + 17.3 / 3600, -(5 + 23 / 60 + 28 / 3600))]  # M42
    while len(rows) < count:
        day = datetime.date(1900, 1, 1) + datetime.timedelta(days=rng.randrange(73414))
        dec = math.degrees(math.asin(rng.uniform(-1, 1)))
        rows.append((day.isoformat(), round(rng.uniform(-180, 180), 4), rng.uniform(0, 24), dec))
    return rows


def sexagesimal(value, sign):
    magnitude = round(abs(value) * 3600, 4)
    text = f"{int(magnitude // 3600):02d}:{int(magnitude // 60 % 60):02d}:{magnitude % 60:07.4f}"
    return ("-" if value < 0 else "+") + text if sign else text


def hour_angle(utc, longitude, ra_hours, dec_degrees):
    """ERFA's hour angle of the apparent place, radians in [-pi, pi)."""
    date, time = utc.split("T")
    y, m, d = (int(x) for x in date.split("-"))
    hh, mm, ss = time.split(":")
    u1, u2 = erfa.dtf2d("UTC", y, m, d, int(hh), int(mm), float(ss))
    tt1, tt2 = erfa.taitt(*erfa.utctai(u1, u2))
    ut1, ut2 = erfa.utcut1(u1, u2, 0.0)
    ri, _, _ = erfa.atci13(math.radians(15 * ra_hours), math.radians(dec_degrees), 0, 0, 0, 0, tt1, tt2)
    return (erfa.era00(ut1, ut2) + math.radians(longitude) - ri + math.pi) % TURN - math.pi


def run(binary, args, lines):
    done = subprocess.run([binary, "--batch", "--model", "iau2006", "--eop", "none", "--format", "json", *args],
                          input="".join(lines), capture_output=True, text=True, check=False)
    if done.returncode != 0:
        sys.exit(f"vantoril-lst failed ({done.returncode}): {done.stderr}{done.stdout[:2000]}")
    return [json.loads(line) for line in done.stdout.splitlines()]


def check_transits(binary, lower, rows):
    lines = [f"{d} {lng:.4f} {sexagesimal(ra, False)} {sexagesimal(dec, True)}\n" for d, lng, ra, dec in rows]
    results = run(binary, ["--transit", "-", "--dec", "-"] + (["--lower"] if lower else []), lines)
    worst = 0.0
    for r in results:
        assert r["utc"] is not None, r
        off = hour_angle(r["utc"], r["longitude_deg"], r["ra_hours"], r["dec_deg"]) - (math.pi if lower else 0)
        off = (off + math.pi) % TURN - math.pi
        seconds = abs(off) * 86400 / TURN
        worst = max(worst, seconds)
        assert seconds < TOLERANCE_SECONDS, (r, seconds)
    assert len(results) >= len(rows), (len(results), len(rows))
    print(f"{'lower' if lower else 'upper'} transits: {len(rows)} days, {len(results)} instants, "
          f"worst {worst * 1e9:.1f} ns from hour angle {'12 h' if lower else '0'}")


def check_hour_angles(binary, rows):
    rng = random.Random(7)
    lines = [f"{d}T{rng.randrange(24):02d}:{rng.randrange(60):02d}:{rng.randrange(60):02d}Z {lng:.4f} "
             f"{sexagesimal(ra, False)} {sexagesimal(dec, True)}\n" for d, lng, ra, dec in rows]
    worst = 0.0
    for r in run(binary, ["--dec", "-", "--precision", "6"], lines):
        ours = r["hour_angle_hours"] * math.pi / 12
        theirs = hour_angle(r["utc"], r["longitude_deg"], r["ra_hours"], r["dec_deg"])
        seconds = abs((ours - theirs + math.pi) % TURN - math.pi) * 86400 / TURN
        worst = max(worst, seconds)
        assert seconds < TOLERANCE_SECONDS, (r, seconds)
    print(f"hour angles: {len(rows)} instants, worst {worst * 1e9:.1f} ns")


def main():
    binary = sys.argv[1]
    check_transits(binary, False, places(300, 1))
    check_transits(binary, True, places(100, 2))
    check_hour_angles(binary, places(300, 3))


if __name__ == "__main__":
    main()
