#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The skyfield and astropy side of bench/cli_table_bench.sh: the local
sidereal time of COUNT instants one minute apart from 2000-01-01 00:00 UTC at
LONGITUDE (degrees east), as vantoril-lst's table computes them (mean, or
apparent with KIND ending in -apparent), then the same text lines the table
prints ("2000-01-01T00:00:00Z 6:39:52.270") written to OUT: a user who wants
a table file pays for both.

    cli_skyfield.py skyfield|astropy[-apparent] COUNT LONGITUDE OUT

Prints import, compute and text seconds. UT1 - UTC comes from skyfield's
own built-in tables (astropy: 0, downloads off); no network is timed."""
import time

START = time.perf_counter()
import sys  # noqa: E402


def skyfield(count, longitude, apparent):
    import numpy as np
    from skyfield.api import load
    imported = time.perf_counter()
    # TT - UT1 with UT1 = UTC (vantoril-lst without an IERS table): TAI - UTC is
    # 32 s through the rows of 2000 and 2001.
    ts = load.timescale(builtin=True, delta_t=32 + 32.184)
    t = ts.utc(2000, 1, 1, 0, np.arange(count, dtype=float))
    lst = ((t.gast if apparent else t.gmst) + longitude / 15.0) % 24.0
    return imported, lst


def astropy(count, longitude, apparent):
    import warnings

    import numpy as np
    from astropy import units as u
    from astropy.time import Time
    from astropy.utils import iers
    imported = time.perf_counter()
    iers.conf.auto_download = False
    warnings.simplefilter("ignore")
    t = Time(np.full(count, 51544.0), np.arange(count) / 1440.0, format="mjd", scale="utc")
    t.delta_ut1_utc = 0.0
    lst = t.sidereal_time("apparent" if apparent else "mean", longitude=longitude * u.deg,
                          model="IAU2006A" if apparent else "IAU2006")
    return imported, lst.hour


def write_lines(lst, out):
    import numpy as np
    count = len(lst)
    utc = np.datetime_as_string(np.datetime64("2000-01-01T00:00") + np.arange(count).astype("timedelta64[m]"),
                                unit="s")
    ms = np.round(np.asarray(lst) * 3_600_000).astype(np.int64) % 86_400_000
    h, m, s, f = ms // 3_600_000, ms // 60_000 % 60, ms // 1000 % 60, ms % 1000
    with open(out, "w") as f_out:
        f_out.write("".join(f"{u}Z {a}:{b:02d}:{c:02d}.{d:03d}\n" for u, a, b, c, d in zip(utc, h, m, s, f)))


if __name__ == "__main__":
    kind, count, longitude, out = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
    peer, apparent = kind.split("-")[0], kind.endswith("-apparent")
    imported, lst = (skyfield if peer == "skyfield" else astropy)(count, longitude, apparent)
    computed = time.perf_counter()
    assert len(lst) == count
    write_lines(lst, out)
    written = time.perf_counter()
    print(f"{imported - START:.3f} {computed - imported:.3f} {written - computed:.3f}")
