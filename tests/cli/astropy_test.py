#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""vantoril-lst --model iau2006 against astropy's sidereal_time, within 1 ms,
on seeded instants from 1900 to 2100 (leap seconds included), mean and
apparent, with UT1 - UTC given to both. Also checks the JSON lines' shape and
the hour angle. IERS downloads are off: astropy gets UT1 - UTC from us, and
its polar-motion term does not move the sidereal time at this level.

    astropy_test.py PATH/TO/vantoril-lst"""
import json
import random
import subprocess
import sys
import warnings

import numpy as np
from astropy import units as u
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
warnings.simplefilter("ignore")  # "dubious year", polar motion beyond the tables

TOLERANCE_SECONDS = 1e-3
KEYS = {"utc", "utc_text", "longitude", "longitude_deg", "model", "kind", "dut1", "lst", "lst_hours",
        "ra", "ra_hours", "hour_angle", "hour_angle_hours"}


def instants(count, seed):
    rng = random.Random(seed)
    rows = [("2016-12-31", "23:59:60.500", 0.0), ("1972-06-30", "23:59:60.250", -75.5),
            ("1965-08-31", "12:00:00.000", 12.25), ("1900-01-01", "00:00:00.000", 180.0),
            ("2100-12-31", "23:59:59.999", -180.0)]
    while len(rows) < count:
        date = f"{rng.randint(1900, 2100):04d}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}"
        time = f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:{rng.uniform(0, 59.999):06.3f}"
        rows.append((date, time, round(rng.uniform(-180, 180), 4)))
    return rows


def run(binary, rows, ras, options):
    text = "".join(f"{d} {t} {lng:.4f} {ra}\n" for (d, t, lng), ra in zip(rows, ras))
    done = subprocess.run([binary, "--batch", "--model", "iau2006", "--format", "json", "--precision", "6",
                           *options], input=text, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        sys.exit(f"vantoril-lst failed ({done.returncode}): {done.stderr}{done.stdout[:2000]}")
    results = [json.loads(line) for line in done.stdout.splitlines()]
    assert len(results) == len(rows), (len(results), len(rows))
    return results


def check(binary, kind, model, rows, dut1):
    rng = random.Random(len(rows))
    ras = [f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:{rng.randint(0, 59):02d}" for _ in rows]
    options = ["--dut1", str(dut1)] + (["--apparent"] if kind == "apparent" else [])
    results = run(binary, rows, ras, options)

    t = Time([f"{d}T{tm}" for d, tm, _ in rows], scale="utc")
    t.delta_ut1_utc = dut1
    lst = t.sidereal_time(kind, longitude=np.array([lng for _, _, lng in rows]) * u.deg, model=model).hour

    worst = 0.0
    for row, result, expected in zip(rows, results, lst):
        # Instants before 1960 (UTC not yet tied to TAI) carry a warning, and
        # those past the leap-second table's reach may.
        assert set(result) - {"warning"} == KEYS, sorted(result)
        assert ("warning" in result) == (row[0] < "1960") or row[0] > "2017", result
        assert result["model"] == "iau2006" and result["kind"] == kind and result["dut1"] == dut1, result
        diff = abs(result["lst_hours"] - expected) % 24
        diff = min(diff, 24 - diff) * 3600
        worst = max(worst, diff)
        assert diff < TOLERANCE_SECONDS, (row, result, expected)
        ha = result["hour_angle_hours"]
        assert -12 <= ha < 12, result
        back = (ha + result["ra_hours"] - result["lst_hours"]) % 24
        assert min(back, 24 - back) < 1e-9, result
    print(f"{kind:8s} {model:8s} dut1 {dut1:+.3f}: {len(rows)} instants, worst {worst * 1e6:.3f} us")


def main():
    binary = sys.argv[1]
    check(binary, "mean", "IAU2006", instants(400, 1), 0.0)
    check(binary, "mean", "IAU2006", instants(300, 2), -0.4123)
    check(binary, "apparent", "IAU2006A", instants(200, 3), 0.3)


if __name__ == "__main__":
    main()
