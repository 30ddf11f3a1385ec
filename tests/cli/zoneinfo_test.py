#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""--tz against Python's zoneinfo on the same system tz database: 4,000 seeded
civil times from 1970 to 2399 (past 2037, where the zone files' listed changes
end and zoneinfo follows each file's closing rule) in zones with DST both sides
of the equator, a half-hour and a 45-minute offset, and zones whose rules
changed or stopped. Each one vantoril-lst answers must be zoneinfo's UTC
instant; each one it refuses must be one zoneinfo cannot round-trip (a gap)
or reads two ways (an overlap).

    zoneinfo_test.py VANTORIL_LST"""
import datetime
import json
import random
import subprocess
import sys
from zoneinfo import ZoneInfo

LST = sys.argv[1]
ZONES = ["Europe/Paris", "America/Santiago", "Australia/Adelaide", "Asia/Kolkata", "America/New_York",
         "Asia/Kathmandu", "Pacific/Auckland", "Europe/Moscow", "America/Sao_Paulo", "Asia/Tehran", "UTC"]
UTC = datetime.timezone.utc
rng = random.Random(20261209)
failures = []
for zone in ZONES:
    tz = ZoneInfo(zone)
    civil = []
    for _ in range(500):
        start = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=rng.randrange(0, 430 * 365 * 86400))
        # Half of them within two hours of a change of offset, where the faults would be.
        if rng.random() < 0.5:
            def offset(t):
                return t.replace(tzinfo=tz).utcoffset()
            for days in range(0, 200):
                day = start + datetime.timedelta(days=days)
                if offset(day) != offset(day + datetime.timedelta(days=1)):
                    t = next(day + datetime.timedelta(hours=h) for h in range(24)
                             if offset(day + datetime.timedelta(hours=h)) != offset(day + datetime.timedelta(hours=h + 1)))
                    start = t + datetime.timedelta(minutes=rng.randrange(-60, 120))
                    break
        civil.append(start)
    lines = "".join(f"{c:%Y-%m-%d %H:%M:%S} 0\n" for c in civil)
    out = subprocess.run([LST, "--batch", "--format", "json", "--tz", zone], input=lines.encode(),
                         capture_output=True, check=False).stdout.decode().splitlines()
    assert len(out) == len(civil), (zone, len(out))
    for c, line in zip(civil, out):
        answer = json.loads(line)
        early, late = (c.replace(tzinfo=tz, fold=f).astimezone(UTC) for f in (0, 1))
        exists = early.astimezone(tz).replace(tzinfo=None) == c
        if "error" in answer:
            if exists and early == late:
                failures.append((zone, str(c), answer["error"]))
        elif not exists or early != late or answer["utc"] != f"{early:%Y-%m-%dT%H:%M:%S}":
            failures.append((zone, str(c), answer["utc"], str(early), str(late)))
for f in failures[:10]:
    print(f)
print(f"{len(ZONES) * 500} civil times, {len(failures)} disagreements")
sys.exit(1 if failures else 0)
