#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The astropy side of bench/cli_bench.sh.

    cli_astropy.py prepare INSTANTS NPZ     the batch lines as arrays (not timed)
    cli_astropy.py run NPZ KIND COUNT OUT   sidereal time of the first COUNT
                                            instants, then the same text lines
                                            vantoril-lst prints written to OUT;
                                            prints import, compute and text
                                            seconds

KIND is mean (model IAU2006) or apparent (IAU2006A). UT1 - UTC is set to 0 as
vantoril-lst's default and IERS downloads are off, so no network is timed."""
import time

START = time.perf_counter()
import sys  # noqa: E402


def prepare(instants, npz):
    import numpy as np
    rows = [line.split() for line in open(instants)]
    ymd = np.array([[int(p) for p in r[0].split("-")] for r in rows])
    hms = np.array([[float(p) for p in r[1].split(":")] for r in rows])
    lon = np.array([float(r[2]) for r in rows])
    # Days from 1970-01-01 of a proleptic Gregorian date (civil-from-days inverse).
    y = ymd[:, 0] - (ymd[:, 1] <= 2)
    era = y // 400
    yoe = y - era * 400
    m = ymd[:, 1]
    doy = (153 * (m + np.where(m > 2, -3, 9)) + 2) // 5 + ymd[:, 2] - 1
    doe = yoe * 365 + yoe // 4 - yoe // 100 + doy
    mjd = era * 146097 + doe - 719468 + 40587
    fraction = (hms[:, 0] * 3600 + hms[:, 1] * 60 + hms[:, 2]) / 86400
    np.savez(npz, mjd=mjd.astype(float), fraction=fraction, lon=lon)


def run(npz, kind, count, out):
    import warnings

    import numpy as np
    from astropy import units as u
    from astropy.time import Time
    from astropy.utils import iers
    imported = time.perf_counter()
    iers.conf.auto_download = False
    warnings.simplefilter("ignore")
    data = np.load(npz)
    mjd, fraction, lon = (data[k][:count] for k in ("mjd", "fraction", "lon"))
    begin = time.perf_counter()
    t = Time(mjd, fraction, format="mjd", scale="utc")
    t.delta_ut1_utc = 0.0
    lst = t.sidereal_time(kind, longitude=lon * u.deg, model="IAU2006" if kind == "mean" else "IAU2006A")
    end = time.perf_counter()
    assert lst.shape == (count,)
    # h:mm:ss.sss, a line for each instant, as a user who wants a file writes it.
    ms = np.round(lst.hour * 3_600_000).astype(np.int64) % 86_400_000
    h, m, s, f = ms // 3_600_000, ms // 60_000 % 60, ms // 1000 % 60, ms % 1000
    with open(out, "w") as f_out:
        f_out.write("".join(f"{a}:{b:02d}:{c:02d}.{d:03d}\n" for a, b, c, d in zip(h, m, s, f)))
    written = time.perf_counter()
    print(f"{imported - START:.3f} {end - begin:.3f} {written - end:.3f}")


if __name__ == "__main__":
    if sys.argv[1] == "prepare":
        prepare(sys.argv[2], sys.argv[3])
    else:
        run(sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5])
