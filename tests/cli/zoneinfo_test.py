#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""--tz against Python's zoneinfo on the same system tz database, for every
zone it has, and every old name tzdata.zi links to a zone (read as that zone
where the system has no file of its own): seeded UTC instants and civil times
from 1850 to 2600, half of them within two hours of a change of offset. Past
the zone files' listed changes (2037, or 2087) zoneinfo follows each file's
closing rule. A UTC instant's local time must be zoneinfo's; a civil time
vantoril-lst answers must be zoneinfo's UTC instant, and one it refuses must
be one zoneinfo cannot round-trip (a gap) or reads two ways (an overlap).

    zoneinfo_test.py VANTORIL_LST"""
import concurrent.futures
import datetime
import json
import os
import random
import subprocess
import sys
import zoneinfo

LST = sys.argv[1]
UTC = datetime.timezone.utc
FIRST = int(datetime.datetime(1850, 1, 1, tzinfo=UTC).timestamp())
LAST = int(datetime.datetime(2600, 1, 1, tzinfo=UTC).timestamp())
PER_ZONE = 100  # UTC instants, and as many civil times


def names():
    """{name: the zone zoneinfo reads for it}"""
    found = {name: name for name in zoneinfo.available_timezones()}
    for line in open(os.path.join(zoneinfo.TZPATH[0], "tzdata.zi"), encoding="utf-8"):
        if line.startswith("L "):
            _, target, name = line.split()[:3]
            found.setdefault(name, target)
    return found


def change_near(tz, t, rng):
    """A UTC second within two hours of a change of offset after t, if one
    comes within two years."""
    def offset(s):
        return datetime.datetime.fromtimestamp(s, tz).utcoffset()
    start = offset(t)
    for step in range(1, 106):
        if offset(t + step * 7 * 86400) != start:
            low, high = t + (step - 1) * 7 * 86400, t + step * 7 * 86400
            while high - low > 1:
                mid = (low + high) // 2
                (low, high) = (mid, high) if offset(mid) == start else (low, mid)
            return high + rng.randrange(-7200, 7200)
    return t


def iso_offset(delta):
    seconds = int(delta.total_seconds())
    sign = "-" if seconds < 0 else "+"
    h, rest = divmod(abs(seconds), 3600)
    m, s = divmod(rest, 60)
    return f"{sign}{h:02d}:{m:02d}" + (f":{s:02d}" if s else "")


def check(name, zone, seed):
    rng = random.Random(seed)
    tz = zoneinfo.ZoneInfo(zone)
    utcs, civils = [], []
    for i in range(PER_ZONE):
        t = rng.randrange(FIRST, LAST)
        utcs.append(change_near(tz, t, rng) if i % 2 else t)
        t = rng.randrange(FIRST, LAST)
        near = change_near(tz, t, rng) if i % 2 else t
        civils.append(datetime.datetime.fromtimestamp(near, tz).replace(tzinfo=None) +
                      datetime.timedelta(seconds=rng.randrange(-5400, 5400) if i % 2 else 0))
    lines = "".join(f"{datetime.datetime.fromtimestamp(t, UTC):%Y-%m-%dT%H:%M:%S}Z 0\n" for t in utcs)
    lines += "".join(f"{c:%Y-%m-%d %H:%M:%S} 0\n" for c in civils)
    run = subprocess.run([LST, "--batch", "--format", "json", "--tz", name], input=lines.encode(),
                         capture_output=True, check=False)
    out = [json.loads(line) for line in run.stdout.decode().splitlines()]
    if len(out) != 2 * PER_ZONE:
        return [(name, "lines", len(out), run.stderr.decode()[:200])]
    failures = []
    for t, answer in zip(utcs, out):
        local = datetime.datetime.fromtimestamp(t, tz)
        expected = f"{local:%Y-%m-%dT%H:%M:%S}{iso_offset(local.utcoffset())}"
        if name.upper() == "UTC":  # no zone at all: no local time shown
            expected = None
        if answer.get("local") != expected:
            failures.append((name, "utc", t, answer.get("local", answer.get("error")), expected))
    for c, answer in zip(civils, out[PER_ZONE:]):
        early, late = (c.replace(tzinfo=tz, fold=f).astimezone(UTC) for f in (0, 1))
        exists = early.astimezone(tz).replace(tzinfo=None) == c
        if "error" in answer:
            if exists and early == late:
                failures.append((name, "civil", str(c), answer["error"]))
        elif not exists or early != late or answer["utc"] != f"{early:%Y-%m-%dT%H:%M:%S}":
            failures.append((name, "civil", str(c), answer["utc"], str(early), str(late)))
    return failures


def main():
    zones = names()
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        results = pool.map(lambda item: check(item[0], item[1], f"20261209 {item[0]}"), sorted(zones.items()))
        failures = [f for result in results for f in result]
    for f in failures[:20]:
        print(f)
    print(f"{len(zones)} zones, {2 * PER_ZONE * len(zones)} instants and civil times, {len(failures)} disagreements")
    return 1 if failures else 0


sys.exit(main())
