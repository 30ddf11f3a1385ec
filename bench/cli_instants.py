#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes N seeded random instants as vantoril-lst --batch lines:
DATE TIME LONGITUDE, UTC 1900-2100, longitudes in every accepted form.

    cli_instants.py N SEED [--decimal]

--decimal writes every longitude as signed decimal degrees (the form the
astropy side of the benchmark reads too)."""
import random
import sys


def main():
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    decimal_only = "--decimal" in sys.argv[3:]
    rng = random.Random(seed)
    out = []
    for _ in range(count):
        y, mo, d = rng.randint(1900, 2099), rng.randint(1, 12), rng.randint(1, 28)
        h, mi, s, ms = rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59), rng.randint(0, 999)
        when = f"{y:04d}-{mo:02d}-{d:02d} {h:02d}:{mi:02d}:{s:02d}.{ms:03d}"
        if decimal_only or rng.random() < 0.5:
            lng = f"{rng.uniform(-180, 180):.4f}"
        else:
            deg, amin, asec = rng.randint(0, 179), rng.randint(0, 59), rng.randint(0, 59)
            ew = rng.choice("EW")
            lng = rng.choice([f"{deg}d{amin}m{asec}s{ew}", f"{deg}:{amin:02d}:{asec:02d}{ew}"])
        out.append(f"{when} {lng}\n")
    sys.stdout.write("".join(out))


if __name__ == "__main__":
    main()
