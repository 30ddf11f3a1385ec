#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The skyfield and astropy side of bench/cli_table_bench.sh: the local mean
sidereal time of COUNT instants one minute apart from 2000-01-01 00:00 UTC at
LONGITUDE (degrees east), as vantoril-lst's table computes them.

    cli_skyfield.py skyfield|astropy COUNT LONGITUDE

Prints import and compute seconds. UT1 - UTC comes from skyfield's own
built-in tables (astropy: 0, downloads off); no network is timed."""
import time

START = time.perf_counter()
import sys  # noqa: E402


def skyfield(count, longitude):
    import numpy as np
    from skyfield.api import load
    imported = time.perf_counter()
    ts = load.timescale(builtin=True)
    t = ts.utc(2000, 1, 1, 0, np.arange(count, dtype=float))
    lst = (t.gmst + longitude / 15.0) % 24.0
    end = time.perf_counter()
    assert lst.shape == (count,)
    return imported, end - imported


def astropy(count, longitude):
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
    lst = t.sidereal_time("mean", longitude=longitude * u.deg, model="IAU2006")
    end = time.perf_counter()
    assert lst.shape == (count,)
    return imported, end - imported


if __name__ == "__main__":
    kind, count, longitude = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    imported, compute = (skyfield if kind == "skyfield" else astropy)(count, longitude)
    print(f"{imported - START:.3f} {compute:.3f}")
