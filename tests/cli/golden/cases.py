# SPDX-License-Identifier: MIT
"""The invocations of vantoril-lst's golden corpus, by theme.

cases() gives a list of dicts: id (theme.subject.NNN), args, and optionally
stdin (str or bytes), env (variables to set, None to unset), stdin_file or
stdout_file (a file to open in place of the pipe). In args and
env values @TMP@ is the runner's temporary folder (also the working
folder), @GOLDEN@ this folder's data/ and @CLIDATA@ tests/cli/data/.
Everything is fixed or drawn from one seeded generator, in one order: the
same list on every run. No case reads the clock (every instant is given),
and the zones used are ones whose rules Debian 12's and 13's tzdata agree on.
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")
CLI_DATA = os.path.abspath(os.path.join(HERE, "..", "data"))


def expand(text, tmp):
    return text.replace("@TMP@", tmp).replace("@GOLDEN@", DATA).replace("@CLIDATA@", CLI_DATA)


class Corpus:
    def __init__(self):
        self.cases = []
        self.numbers = {}

    def add(self, group, args, stdin=None, env=None, **files):
        n = self.numbers.get(group, 0) + 1
        self.numbers[group] = n
        case = {"id": "%s.%03d" % (group, n), "args": list(args)}
        if stdin is not None:
            case["stdin"] = stdin
        if env:
            case["env"] = dict(env)
        case.update(files)
        self.cases.append(case)


IAU = ["--model", "iau2006"]
FINALS = "@CLIDATA@/finals2000A.excerpt"  # 2016-12-30 to 2017-01-02
C04 = "@CLIDATA@/eopc04.excerpt"  # EOP 20 C04, the same days
C04_OLD = "@CLIDATA@/eopc04_IAU2000.excerpt"  # EOP 14 C04, the same days
FINALS_Y2K = "@GOLDEN@/finals2000A-1999-2000.excerpt"  # 1999-12-27 to 2000-01-05, predicted from 01-04
LEAP = "@GOLDEN@/leap/"
# Leap-second tables: older than ERFA's own, with a step of 2027, damaged (the rest).
LEAP_FILES = ["leap-seconds-2015.list", "leap-seconds-2027.list", "leap-seconds-changed.list",
              "leap-seconds-bad-hash.list", "leap-seconds-bad-line.list", "leap-seconds-mid-month.list",
              "leap-seconds-no-expiry.list", "leap-seconds-no-steps.list", "leap-seconds-unordered.list"]
# Zones whose rules are the same in the tzdata of Debian 12 and 13.
ZONES = ["Europe/Paris", "America/New_York", "Asia/Tokyo", "Australia/Sydney", "Asia/Kolkata",
         "America/St_Johns", "Europe/London", "Pacific/Auckland", "America/Los_Angeles", "Africa/Nairobi"]


def random_longitude(rng):
    """A longitude in one of the forms the program reads."""
    degrees = rng.randint(0, 179)
    minutes = rng.randint(0, 59)
    seconds = rng.randint(0, 59)
    side = rng.choice("EW")
    form = rng.randrange(7)
    if form == 0:
        return "%dd%dm%ds%s" % (degrees, minutes, seconds, side)
    if form == 1:
        return "%d:%02d:%02d%s" % (degrees, minutes, seconds, side)
    if form == 2:
        return "%d %d %d %s" % (degrees, minutes, seconds, side)
    if form == 3:
        return "%.4f" % rng.uniform(-180, 180)
    if form == 4:
        return "%.2f%s" % (rng.uniform(0, 180), side)
    if form == 5:
        return "%dd%dm%s" % (degrees, minutes, side)
    return str(rng.randint(-180, 180))


def random_ra(rng):
    return "%02d:%02d:%02d%s" % (rng.randrange(24), rng.randrange(60), rng.randrange(60),
                                 rng.choice(["", ".5", ".25", ".125"]))


def random_instant(rng, first_year, last_year, iso=False):
    year = rng.randint(first_year, last_year)
    month = rng.randint(1, 12)
    day = rng.randint(1, 31)  # a day past the month's end counts on
    clock = "%02d:%02d:%02d" % (rng.randrange(24), rng.randrange(60), rng.randrange(60))
    clock += rng.choice(["", "", ".5", ".123", ".000001", ".999999999"])
    if iso:
        return "%04d-%02d-%02dT%s%s" % (year, month, day, clock, rng.choice(["", "Z", "+05:30", "-0800"]))
    return "%04d-%02d-%02d %s" % (year, month, day, clock)


def help_and_version(c):
    # --help, and --version with the tables it names (its ERFA version and the
    # system's IERS tables are left out by the runner).
    for args in (["--help"], ["-h"], ["--help", "0", "2024-01-01"], ["--help", "--model", "iau2006"],
                 ["--model", "iau2006", "--help"], ["--help", "--batch"], ["--version", "--help"],
                 ["--help", "--format", "xml"], ["--help", "--bogus"], ["--help=yes"], ["-h=1"],
                 ["--help", "--dut1", "0.1"], ["--help", "--tz", "Mars/Olympus"]):
        c.add("help", args)
    for args in (["--version"], ["--version", "0"], ["--version", "--model", "iau2006"],
                 ["--version", "--eop", FINALS], ["--version", "--eop", C04], ["--version", "--eop", C04_OLD],
                 ["--version", "--eop", FINALS_Y2K], ["--version", "--eop", "none"],
                 ["--version", "--eop", "@GOLDEN@/eop/finals-gap.excerpt"], ["--version", "--eop", "missing.all"],
                 ["--version", "--dut1", "0.2"], ["--version=1"], ["--version", "--bogus"],
                 ["--version", "--tz", "Mars/Olympus"], ["--version", "--place", "Nowhere"]):
        c.add("version", args)
    for env in ({"VANTORIL_LST_EOP": FINALS}, {"VANTORIL_LST_EOP": ""}, {"VANTORIL_LST_EOP": "missing.all"},
                {"VANTORIL_LST_EOP": None}, {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-found"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-damaged"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-only-damaged"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "/proc/self/cwd/share-unreadable"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": None, "HOME": "@GOLDEN@/home-found"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "relative", "HOME": "@GOLDEN@/home-found"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": None, "HOME": None},
                {"VANTORIL_LEAP_SECONDS": "/nonexistent"}, {"VANTORIL_LEAP_SECONDS": ""},
                {"VANTORIL_LEAP_SECONDS": "/"}):
        c.add("version.env", ["--version"], env=env)
    for name in LEAP_FILES:
        c.add("version.leap", ["--version"], env={"VANTORIL_LEAP_SECONDS": LEAP + name})


# Options that take a value, with one good value each.
VALUED = [("--model", "iau2006"), ("--format", "json"), ("--precision", "2"), ("--dut1", "0.1"),
          ("--ra", "05:00"), ("--tz", "Europe/Paris"), ("--fold", "later"), ("--place", "Home"),
          ("--from", "2024-01-01T00:00Z"), ("--to", "2024-01-01T01:00Z"), ("--step", "1h"), ("--count", "3"),
          ("--transit", "05:00"), ("--when", "05:00"), ("--eop", "none")]
FLAGS = ["--apparent", "--lower", "--batch", "--watch", "--help", "--version"]


def usage_errors(c):
    # Every option that takes a value, without one; with an empty inline value.
    for option, _ in VALUED:
        c.add("usage.missing", ["0", "2024-01-01", option])
        c.add("usage.missing", [option])
        c.add("usage.empty", [option + "=", "0", "2024-01-01"])
        c.add("usage.empty", [option, "", "0", "2024-01-01"])
    # Flags given a value.
    for flag in FLAGS:
        c.add("usage.flag_value", [flag + "=", "0"])
        c.add("usage.flag_value", [flag + "=yes", "0"])
    # Unknown options, and texts that are taken as positional arguments.
    for arg in ["--bogus", "-x", "-", "--", "---model", "--Model", "--model-classic", "--=", "--format-json",
                "-model", "-W", "-e", "--tz-place", "--watch-", "--ra:05:00", "-1x", "--\x01", "-h1"]:
        c.add("usage.unknown", [arg, "0", "2024-01-01"])
        c.add("usage.unknown", ["0", "2024-01-01", arg])
    # Bad values of every option.
    bad = {
        "--model": ["foo", "CLASSIC", "Iau2006", "iau 2006", "classic,iau2006"],
        "--format": ["xml", "JSON", "text ", "tsv", "jsonl"],
        "--precision": ["7", "-1", "03", "1.5", " 3", "3 ", "x", "+3", "10", "٣"],
        "--dut1": ["1", "-0.91", "0.9000000000000000000001", "-0.90000000000000000000000001", "abc", "1e", "0x1",
                   "--", ".", "-", "1e0", "9e-1x", "0.5s", "nan", "inf", "0,5", "1e999999999999", "+-0.1",
                   "0.9e1", "90e-2000000000000", "１"],
        "--ra": ["25:00", "24:00:00", "23:59:60", "x", "1:2:3", "12", "12:60", "12:00:00:00", "-01:00",
                 "12:00:00.", "12.5:00", "1200", "12:00:60.5", "12:00:5", "123:00"],
        "--fold": ["maybe", "Earlier", "both", "first", "later "],
        "--step": ["0", "-1s", "1x", "1.0000000001", "1e3", "100y", "s", "1 h", "1hh", "0.0000000001", "-0",
                   "0s", "1w", "1.5.1", "1h30m", "36600000000000000000", "3660001d", "1d1", ".5m"],
        "--count": ["0", "-1", "1.5", "x", "1e3", "1000000000000001", "99999999999999999999", " 3", "+3", "0x10"],
        "--transit": ["25:00", "x", "24:00", "12:60", "--", "12:00:00:00", "12:00:60", "-1:00"],
        "--when": ["25:00", "x", "24:00", "12:60", "12", "12:00:60", "--"],
        "--tz": ["Mars/Olympus", "Europe/", "europe/paris", "Europe/Paris/", "/usr/share/zoneinfo/Europe/Paris",
                 "../zoneinfo/Europe/Paris", "Place", "LOCAL", "utc", "Europe/Pariss", "-", " UTC"],
    }
    for option, values in bad.items():
        for value in values:
            c.add("usage.bad_value", [option, value, "0", "2024-01-01"])
    # A digit below the nanosecond after one at it; a fraction past 100 years.
    for value in ["1.00000000001", "36600.9d"]:
        c.add("usage.step", ["--from", "2024-01-01T00:00Z", "--count", "2", "--step", value, "0"])
    c.add("usage.bad_value", ["--step", "1h", "--count", "3", "--from", "2024-01-01T00:00Z", "0",
                              "--step", "0"])
    # Two options that do not go together, and what is missing beside one.
    date = ["0", "2024-01-01"]
    conflicts = [
        ["--transit", "05:00", "--when", "05:00"] + date,
        ["--when", "05:00", "--lower"] + date,
        ["--lower"] + date,
        ["--lower", "--batch"],
        ["--eop", "none"] + date,
        ["--model", "classic", "--eop", "none"] + date,
        ["--eop", FINALS] + date,
        ["--model", "iau2006", "--eop", "none", "--dut1", "0.1"] + date,
        ["--model", "iau2006", "--dut1", "0.1", "--eop", FINALS] + date,
        ["--transit", "05:00", "--ra", "05:00"] + date,
        ["--when", "05:00", "--ra", "05:00"] + date,
        ["--transit", "05:00", "--format", "csv"] + date,
        ["--when", "05:00", "--format", "csv"] + date,
        ["--transit", "05:00", "--watch", "0"],
        ["--when", "05:00", "--watch", "0"],
        ["--transit", "-"] + date,
        ["--when", "-"] + date,
        ["--transit", "05:00", "0"],
        ["--transit", "05:00", "--place", "Home"],
        ["--transit", "05:00", "0", "2024-01-01", "12:00"],
        ["--transit", "05:00", "--place", "Home", "2024-01-01", "12:00"],
        ["--when", "05:00", "0", "2024-01-01T12:00"],
        ["--batch", "--watch"],
        ["--watch", "--format", "csv", "0"],
        ["--watch", "0", "2024-01-01"],
        ["--watch", "0", "2024-01-01T00:00Z"],
        ["--watch", "--place", "Home", "2024-01-01"],
        ["--watch", "--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "2", "0"],
        ["--watch", "--batch", "--format", "csv"],
        ["--watch", "--model", "classic", "--apparent", "0"],
        ["--watch", "--tz", "place", "0"],
        ["--apparent"] + date,
        ["--model", "classic", "--apparent"] + date,
        ["--dut1", "0.1"] + date,
        ["--model", "classic", "--dut1", "0.1"] + date,
        ["--apparent", "--dut1", "0.1"] + date,
        ["--tz", "place"] + date,
        ["--tz", "place", "--batch"],
        ["--to", "2024-01-02T00:00Z", "0"],
        ["--step", "1h", "0"],
        ["--count", "3", "0"],
        ["--from", "2024-01-01T00:00Z", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "0"],
        ["--from", "2024-01-01T00:00Z", "--count", "3", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--to", "2024-01-02T00:00Z", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "0", "2024-01-01"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--place", "Home", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--batch", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--watch", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--transit", "05:00", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--when", "05:00", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--lower", "0"],
        ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "--eop", "none", "0"],
        ["--batch", "0"],
        ["--batch", "2024-01-01", "00:00", "0"],
        ["--batch", "--place", "Home", "2024-01-01"],
        ["--batch", "--transit", "05:00", "0", "2024-01-01"],
        [],
        ["--model", "iau2006"],
        ["--"],
        ["0", "2024-01-01", "00:00", "extra"],
        ["79", "51", "0", "W"],
        ["0", "2024-01-01T00:00", "00:00"],
        ["0", "2024-01-01T00:00Z", "00:00"],
        ["--place", "Home", "2024-01-01", "00:00", "extra"],
        ["--place", "Home", "2024-01-01T00:00", "00:00"],
        ["--place", "", "2024-01-01"],
        ["--place", " _ ", "2024-01-01"],
        ["--", "-79.85", "2024-01-01", "--model"],
        ["--model", "iau2006", "--", "--", "2024-01-01"],
    ]
    for args in conflicts:
        c.add("usage.conflict", args)
    # The first error met is the one told: options are read in order.
    for args in (["--model", "foo", "--format", "xml", "0"], ["--format", "xml", "--model", "foo", "0"],
                 ["--precision", "9", "--bogus", "0"], ["--bogus", "--precision", "9", "0"],
                 ["--dut1", "5", "--apparent", "0"], ["--apparent", "--dut1", "5", "0"],
                 ["--tz", "Mars/Olympus", "--place", "Nowhere", "0", "2024-01-01"],
                 ["--place", "Nowhere", "--tz", "Mars/Olympus", "2024-01-01"],
                 ["--ra", "99:00", "--transit", "99:00", "0"],
                 ["--step", "0", "--count", "0", "0"], ["--count", "0", "--step", "0", "0"],
                 ["--batch", "--watch", "--transit", "05:00"], ["--lower", "--watch", "--batch"]):
        c.add("usage.order", args)


def longitudes(c):
    # Every form of a longitude: the good ones through both models, the bad ones once.
    good = ["79d51m0sW", "79d51mW", "79d51m0.5sW", "79D51M0SW", "79d51m0sw", "79d", "79dW", "79d51m",
            "79:51:00W", "79:51W", "79:51:00.25W", "79 51 0 W", "79 51 W", " 79 51 0 W ", "79\t51\t0\tW",
            "-79.85", "79.85W", "79.85w", "+79.85", "79.85E", "79.85e", "79.85", "0", "-0", "+0", "0W", "0E",
            "180", "-180", "180W", "180E", "180d0m0sE", "179d59m59.999999sW", "179.999999999999999999",
            "0.000000001", "-0.000000001", "12.", "-.5", ".5E", "1d2m3s", "1d2m3", "1:2:3", "001:002:003",
            "0d59m59.99999999999999999999sE", "45d30mE", "45 30", "45 30 30", "12d0.5m", "90:30.5",
            "179.99999999999999999999999W", "180.00000000000000000000000E", "00000000000000000180"]
    bad = ["", " ", "W", "E", "-W", "+E", "-79.85W", "+79E", "79..85", "79.85.1", "181", "180.000001",
           "-180.0000000000000000000001", "180d0m0.1s", "179d60m", "179d59m60s", "10:60:00", "10:00:60",
           "10d60m", "1:2:3:4", "1 2 3 4", "79d51m0sX", "79x", "x79", "79 W W", "79dd", "d79", "79d51s",
           "79m", "1e2", "0x10", "12,5", "NaN", "inf", "1d-2m", "1:-2", "--79", "79 51 0 W 12", "٧٩",
           "79\"W", "79'51\"W", "79°51'W", "79d51m0sW ", "a" * 60]
    for lon in good:
        c.add("longitude.classic", ["--", lon, "2024-03-20", "21:00:00"])
        c.add("longitude.iau2006", IAU + ["--", lon, "2024-03-20", "21:00:00"])
    for lon in bad:
        c.add("longitude.bad", ["--", lon, "2024-03-20", "21:00:00"])
    # As JSON, where "longitude" is the text as given and "longitude_deg" its value.
    for lon in ["79d51m0sW", "79 51 0 W", "-0", "179.999999999999999999", "0.000000001", "12.", "79\"W",
                "45 30", "180W"]:
        c.add("longitude.json", ["--format", "json", "--", lon, "2024-03-20", "21:00:00"])
        c.add("longitude.csv", IAU + ["--format", "csv", "--", lon, "2024-03-20", "21:00:00"])


def dates_and_times(c):
    # DATE, TIME and INSTANT: their forms, what counts on, what is refused.
    dates = ["2024-03-20", "2002-02-30", "2002-02-31", "2001-02-29", "2000-02-29", "2000-02-30", "1900-02-29",
             "2024-12-31", "2024-12-32", "2024-04-31", "0000-01-01", "0000-02-29", "0000-02-30", "9999-12-31",
             "9999-12-32", "10000-01-01", "00002024-03-20", "123456789012345678901234-02-30",
             "3276800-03-01", "1582-10-10", "1960-01-01", "1959-12-31", "1972-01-01", "2100-02-29",
             "2024-13-01", "2024-00-10", "2024-01-00", "2024-01-32", "9999999999999999999-12-31"]
    for date in dates:
        c.add("date.classic", ["0", date, "12:00:00"])
        c.add("date.iau2006", IAU + ["0", date, "12:00:00"])
    for date in ["2024-1-01", "2024-01-1", "24-01-01", "2024/01/01", "2024-01-01-", "-2024-01-01", "2024_01_01",
                 "20240101", "2024-01", "", "2024-01-01 ", "2024-0x-01", "２０２４-01-01"]:
        c.add("date.bad", ["0", date, "12:00:00"])
    c.add("date.json", ["--format", "json", "0", "2002-02-30", "12:00:00"])
    c.add("date.json", ["--format", "json", "0", "123456789012345678901234-02-30"])
    c.add("date.json", IAU + ["--format", "json", "0", "2000-02-30", "12:00:00"])
    times = ["12:00:00", "12:00", "00:00", "23:59", "23:59:59", "23:59:59.999999999", "23:59:59.9999999999",
             "7:05:09.25", "07:05:09.25", "12:00:00.1", "12:00:30.1", "12:00:00.", "12:00:00.0", "1:2:3",
             "12:0:00", "12:00:0", "24:00:00", "24:00", "12:60:00", "12:00:60", "12:00:61", "12:00:59.9999",
             "123:00:00", "12", "12:00:00:00", "-1:00:00", "12.5:00:00", "12:00:00Z", "12:00:00z",
             "12:00:00+01:00", "12:00:00-0130", "12:00:00+14:00", "12:00:00-23:59", "12:00:00+24:00",
             "12:00:00+01:60", "12:00:00+1", "12:00:00+01:0", "12:00:00+0100Z", "12:00+05:30", "00:30+01:00",
             "23:30-01:00", "12:00:00 Z", "", "noon", "12:00:00.000000001", "12:00:00.123456789+05:45",
             "12:00:00,5", "１２:00:00"]
    for clock in times:
        c.add("time.classic", ["0", "2024-03-20", clock])
        c.add("time.iau2006", IAU + ["0", "2024-03-20", clock])
    instants = ["2024-03-20T21:00:00Z", "2024-03-20T21:00Z", "2024-03-20T21:00", "2024-03-20t21:00:00z",
                "2024-03-20T22:00:00+01:00", "2024-03-20T16:00:00-0500", "2024-03-20T21:00:00.5Z",
                "2024-03-21T00:30+05:30", "2024-03-20T23:59:60Z", "2016-12-31T23:59:60Z",
                "2016-12-31T23:59:60.999999999Z", "2017-01-01T00:59:60+01:00", "2017-01-01T05:29:60+05:30",
                "2016-12-31T18:59:60-05:00", "0000-01-01T00:00:00Z", "0000-01-01T00:30:00+01:00",
                "9999-12-31T23:59:59Z", "9999-12-31T23:30:00-01:00", "10000-01-01T00:00Z", "2024-02-30T12:00Z",
                "2024-03-20T", "2024-03-20T21", "T21:00", "2024-03-20T21:00:00ZZ", "2024-03-20T25:00Z",
                "2024-03-20T21:00:00+25:00", "2024-03-20T21:00:00 Z", "2024-03-20TT21:00", "2024-03-20T21:00:0",
                "2024-3-20T21:00", "2024-03-20T21:00:00.1234567891Z", "2024-03-20T21:00:00+01:00:00"]
    for instant in instants:
        c.add("instant.classic", ["0", instant])
        c.add("instant.iau2006", IAU + ["0", instant])
    # A date with no time is midnight; an instant as DATE TIME of two arguments.
    c.add("instant.classic", ["0", "2024-03-20"])
    c.add("instant.classic", ["0", "2024-03-20", "00:00:00Z"])
    c.add("instant.json", ["--format", "json", "0", "2024-03-20T22:00:00+01:00"])
    c.add("instant.json", IAU + ["--format", "json", "0", "2024-03-20", "22:00:00.5+01:00"])
    c.add("instant.json", IAU + ["--format", "json", "0", "2024-03-21T00:30:30.25+05:45"])
    c.add("instant.csv", IAU + ["--format", "csv", "0", "2024-03-21T00:30:30.25+05:45"])


def leap_seconds(c):
    # 23:59:60: on days that end with a leap second, on days that do not,
    # outside a day's last minute; the 1960s' leaps of milliseconds.
    leap_days = ["1972-06-30", "1972-12-31", "1998-12-31", "2005-12-31", "2008-12-31", "2012-06-30",
                 "2015-06-30", "2016-12-31"]
    plain_days = ["2015-06-29", "2016-12-30", "2016-12-01", "2017-12-31", "2024-06-30", "1971-12-31",
                  "2000-12-31", "2026-12-31", "2030-06-30"]
    for day in leap_days + plain_days:
        for clock in ["23:59:60", "23:59:60.5", "23:59:60.999999999"]:
            c.add("leap.iau2006", IAU + ["0", day, clock])
        c.add("leap.classic", ["0", day, "23:59:60"])
    for day, clock in [("2016-12-31", "12:00:60"), ("2016-12-31", "23:58:60"), ("2016-12-31", "00:00:60"),
                       ("2016-12-31", "22:59:60"), ("2015-06-29", "12:00:60"), ("2024-01-01", "12:00:60"),
                       ("2016-12-31", "23:59:61"), ("2016-12-31", "23:59:60.9999999999"),
                       ("1960-12-31", "23:59:60"), ("1960-12-31", "23:59:60.004"), ("1960-12-31", "23:59:60.005"),
                       ("1961-07-31", "23:59:60"), ("1961-07-31", "23:59:59.96"), ("1961-07-31", "23:59:59.949"),
                       ("1963-10-31", "23:59:60.05"), ("1968-01-31", "23:59:60.1"), ("1958-12-31", "23:59:60"),
                       ("1971-12-31", "23:59:60"), ("1972-01-01", "00:00:00"), ("1960-12-31", "12:00:60")]:
        c.add("leap.iau2006", IAU + ["0", day, clock])
    c.add("leap.iau2006", IAU + ["0", "2016-12-31", "12:00:60"] + ["--format", "json"])
    c.add("leap.iau2006", IAU + ["--precision", "6", "0", "2016-12-31", "23:59:60.5"])
    c.add("leap.iau2006", IAU + ["--format", "json", "0", "2016-12-31", "23:59:60.25"])
    c.add("leap.iau2006", IAU + ["--format", "csv", "0", "2016-12-31T23:59:60.25Z"])
    # With an offset or in a zone: the leap second is at 23:59:60 UTC.
    for args in (["0", "2017-01-01T08:59:60+09:00"], ["0", "2017-01-01T08:58:60+09:00"],
                 ["0", "2017-01-01", "08:59:60+09:00"], ["--tz", "Asia/Tokyo", "0", "2017-01-01", "08:59:60"],
                 ["--tz", "Asia/Tokyo", "0", "2017-01-01", "08:59:60.75"],
                 ["--tz", "Asia/Tokyo", "0", "2016-12-31", "23:59:60"],
                 ["--tz", "America/New_York", "0", "2016-12-31", "18:59:60"],
                 ["--tz", "Asia/Kolkata", "0", "2017-01-01", "05:29:60"],
                 ["--tz", "America/St_Johns", "0", "2016-12-31", "20:29:60"],
                 ["--tz", "Europe/Paris", "--format", "json", "0", "2017-01-01", "00:59:60"],
                 ["--tz", "Europe/Paris", "--format", "csv", "0", "2017-01-01", "00:59:60"],
                 ["--tz", "Europe/Paris", "0", "2017-01-01", "00:59:59"],
                 ["--tz", "Europe/Paris", "0", "2017-01-01", "01:00:00"]):
        c.add("leap.zone", IAU + args)
    c.add("leap.zone", ["--tz", "Asia/Tokyo", "0", "2017-01-01", "08:59:60"])
    # A zone of the 1900s whose offset had seconds: a leap second cannot be read in it.
    c.add("leap.zone", IAU + ["--tz", "Europe/Paris", "0", "1911-03-10", "23:59:60"])
    c.add("leap.zone", IAU + ["--tz", "Europe/Paris", "0", "1900-06-30", "12:00:00"])
    c.add("leap.zone", IAU + ["--tz", "Europe/Paris", "--format", "json", "0", "1900-06-30", "12:00:00"])


def option_matrix(c):
    # The options of a single answer together, at instants of every kind.
    instants = [("79d51mW", ["2002-01-01", "00:00:00"]), ("-79.85", ["2024-03-20T21:00:00Z"]),
                ("180", ["1999-12-31", "23:59:59.999"]), ("2.35E", ["2100-02-28", "06:30:15.25"]),
                ("0", ["1900-03-01", "12:00"]), ("-179.99", ["0000-01-01"]),
                ("45d30m15sE", ["9999-12-31", "23:59:59.999999999"]), ("0", ["2016-12-31", "23:59:59.5"])]
    models = [[], IAU, IAU + ["--apparent", "--dut1", "-0.25"]]
    for lon, when in instants:
        for model in models:
            for fmt, precisions in [("text", [[], ["--precision", "0"], ["--precision", "6"]]),
                                    ("hours", [[], ["--precision", "6"]]),
                                    ("json", [[]]), ("csv", [["--precision", "1"]])]:
                for precision in precisions:
                    for ra in [[], ["--ra", "05:35:17.3"]]:
                        c.add("matrix", model + ["--format", fmt] + precision + ra + ["--", lon] + when)
    # Each precision at one instant, each model and format.
    for model in [[], IAU, IAU + ["--apparent"]]:
        for fmt in ["text", "hours", "json"]:
            for p in range(7):
                c.add("precision", model + ["--format", fmt, "--precision", str(p), "--ra", "17:59:59.9999",
                                            "2.35E", "2024-03-20", "21:00:00.123456"])


def hour_angles(c):
    # LST - RA in [-12 h, +12 h): at and near the ends, rounded to the precision shown.
    rng = random.Random(11)
    for model in [[], IAU]:
        for ra in ["00:00", "08:55:31.488", "20:55:31.488", "20:55:31.4875", "20:55:31.4885", "20:55:31",
                   "20:55:32", "08:55:31", "23:59:59.999999", "12:00:00", "20:55:31.48827", "21:00"]:
            for p in ["0", "3", "6"]:
                c.add("hour_angle", model + ["--precision", p, "--ra", ra, "0", "2024-03-20T21:00:00Z"])
        c.add("hour_angle", model + ["--format", "hours", "--ra", "20:55:31.488", "0", "2024-03-20T21:00:00Z"])
        c.add("hour_angle", model + ["--format", "json", "--ra", "20:55:31.488", "0", "2024-03-20T21:00:00Z"])
        for _ in range(12):
            c.add("hour_angle", model + ["--ra", random_ra(rng), random_longitude(rng),
                                         random_instant(rng, 1900, 2100, iso=True)])


def dut1_values(c):
    # --dut1: its written forms and limits, judged by their exact value.
    for value in ["0", "0.9", "-0.9", "0.3", "-.25", ".5", "5.", "3e-1", "-3E-1", "+0.5", "0.89999999999999999999999",
                  "-0.89999999999999999999999", "0.9000000000000000000000", "9e-1", "90e-2", "0.00000000000000000001",
                  "1e-1000000000000", "-0", "0.900", "000.9", "0.1234567890123456789"]:
        c.add("dut1", IAU + ["--dut1", value, "0", "2024-03-20T21:00:00Z"])
        c.add("dut1", IAU + ["--format", "json", "--dut1", value, "0", "2024-03-20T21:00:00Z"])
    c.add("dut1", IAU + ["--dut1=0.2", "--dut1", "-0.2", "0", "2024-03-20T21:00:00Z"])
    c.add("dut1", IAU + ["--dut1", "0.2", "--apparent", "--format", "csv", "0", "2024-03-20T21:00:00Z"])


def zones(c):
    # --tz: civil time read and shown in a zone; gaps and overlaps; local.
    rng = random.Random(7)
    for zone in ZONES:
        for _ in range(4):
            instant = random_instant(rng, 1970, 2037)
            c.add("tz.zone", ["--tz", zone, random_longitude(rng)] + instant.split(" "))
        c.add("tz.zone", IAU + ["--tz", zone, "--format", "json", "0", "2024-07-01", "12:00"])
        c.add("tz.zone", ["--tz", zone, "--format", "csv", "--ra", "12:00", "0", "2024-01-01T12:00"])
        c.add("tz.zone", ["--tz", zone, "0", "2024-07-01T12:00Z"])
    # Gaps (spring) and overlaps (autumn), refused or chosen by --fold.
    folds = [("Europe/Paris", "2024-03-31", "02:30"), ("Europe/Paris", "2024-10-27", "02:30"),
             ("Europe/Paris", "2024-03-31", "02:00"), ("Europe/Paris", "2024-03-31", "03:00"),
             ("Europe/Paris", "2024-10-27", "03:00"), ("Europe/Paris", "2024-10-27", "01:59:59.999"),
             ("America/New_York", "2024-03-10", "02:15:30.5"), ("America/New_York", "2024-11-03", "01:30"),
             ("Australia/Sydney", "2024-10-06", "02:30"), ("Australia/Sydney", "2024-04-07", "02:30"),
             ("America/St_Johns", "2024-03-10", "02:30"), ("America/St_Johns", "2024-11-03", "01:30"),
             ("Europe/London", "2024-03-31", "01:30"), ("Europe/London", "2024-10-27", "01:30"),
             ("Pacific/Auckland", "2024-09-29", "02:30"), ("Pacific/Auckland", "2024-04-07", "02:30"),
             ("Europe/Paris", "2050-03-27", "02:30"), ("Europe/Paris", "2050-10-30", "02:30"),
             ("America/New_York", "2399-11-06", "01:30"), ("Europe/Paris", "2400-03-26", "02:30"),
             ("Europe/Paris", "9999-10-31", "02:30")]
    for zone, day, clock in folds:
        for fold in [[], ["--fold", "earlier"], ["--fold", "later"]]:
            c.add("tz.fold", ["--tz", zone] + fold + ["0", day, clock])
        c.add("tz.fold", IAU + ["--tz", zone, "--format", "json", "--fold", "later", "0", day, clock])
    c.add("tz.fold", ["--fold", "earlier", "0", "2024-03-31", "02:30"])
    c.add("tz.fold", ["--tz", "Europe/Paris", "--fold", "later", "0", "2024-03-31T02:30+01:00"])
    c.add("tz.fold", ["--tz", "Europe/Paris", "0", "2024-03-31T02:30"])
    c.add("tz.fold", ["--tz", "Europe/Paris", "0", "2024-03-31T02:30Z"])
    # local: the zone of TZ. Then UTC by name, and civil times at the ends of the years 0000 to 9999.
    for tz in ["Europe/Paris", ":Europe/Paris", "Asia/Tokyo", "UTC", "Etc/UTC", "Mars/Olympus", ":Mars/Olympus",
               "Europe/", "CET-1CEST,M3.5.0,M10.5.0/3"]:
        c.add("tz.local", ["--tz", "local", "0", "2024-07-01", "12:00"], env={"TZ": tz})
        c.add("tz.local", ["--tz", "local", "--format", "json", "0", "2024-07-01", "12:00"], env={"TZ": tz})
    for tz in ["UTC", "Etc/UTC", "Etc/GMT+5", "Etc/GMT-14", "Europe/Paris"]:
        c.add("tz.named", ["--tz", tz, "--format", "json", "0", "2024-07-01", "12:00"])
    c.add("tz.named", ["--tz", "UTC", "0", "2024-07-01T12:00+02:00"])
    for zone, instant in [("Pacific/Auckland", "0000-01-01T00:00"), ("America/Los_Angeles", "9999-12-31T23:00"),
                          ("America/Los_Angeles", "0000-01-01T00:00"), ("Pacific/Auckland", "9999-12-31T23:00"),
                          ("Europe/Paris", "1800-01-01T00:00"), ("Europe/Paris", "1799-12-31T23:00"),
                          ("Europe/Paris", "1911-03-11T00:00"), ("Europe/Paris", "10000-01-01T00:00"),
                          ("Asia/Kolkata", "1941-10-01T00:00"), ("Europe/London", "1971-06-01T00:00"),
                          ("Australia/Sydney", "2036-12-31T23:00"), ("Australia/Sydney", "2038-01-19T03:14:08")]:
        c.add("tz.ends", ["--tz", zone, "0", instant])
        c.add("tz.ends", IAU + ["--tz", zone, "--format", "json", "0", instant])


def places(c):
    # --place: the user's places file first, then the tz database's tables.
    for name in ["Home", "home", "HOME", "Mount Hopkins", "mount_hopkins", "MountHopkins", "Greenwich_Park",
                 "Sea_Station", 'Quote"Hill', "Comma,Point", "Blank_Longitude", "Too_Far", "Lonely", "Tokyo",
                 "Unknown_Zone", "Harbour Light", "Paris", "new york", "Sao_Paulo", "Europe/Paris", "europe paris",
                 "Kolkata", "St Johns", "st_johns", "Los Angeles", "America/Los_Angeles", "Nairobi", "Auckland",
                 "Hme", "Mount Hopkin", "Quote Hill", "Nowhere", "_", "Paris_"]:
        c.add("place", ["--place", name, "2024-03-20T21:00:00Z"])
        if name in ("Home", "Greenwich_Park", "Sea_Station", 'Quote"Hill', "Unknown_Zone", "Harbour Light",
                    "Paris", "new york", "Kolkata", "St Johns"):
            c.add("place.tz", ["--place", name, "--tz", "place", "2024-03-20", "21:00:00"])
    for name in ["Home", "Greenwich_Park", 'Quote"Hill', "Comma,Point", "Sea_Station", "Paris", "Tokyo"]:
        c.add("place.json", ["--place", name, "--tz", "place", "--format", "json", "2024-03-20", "21:00:00"])
        c.add("place.csv", IAU + ["--place", name, "--format", "csv", "--ra", "05:00", "2024-03-20T21:00Z"])
        c.add("place.csv", ["--place", name, "--tz", "place", "--format", "csv", "2024-03-20", "21:00:00"])
    c.add("place", ["--place", "Home", "--tz", "Asia/Tokyo", "2024-03-20", "21:00:00"])
    c.add("place", ["--place", "Home", "2024-03-20"])
    c.add("place", IAU + ["--place", "Sea_Station", "--ra", "05:00", "2024-03-20", "21:00:00"])
    # The tz database's old names and names with accents, as places and zones.
    for name in ["Kiev", "Europe/Kiev", "Asia/Calcutta", "São Paulo", "sao paulo", "Sao_Paulo", "Second Home"]:
        c.add("place.names", ["--place", name, "--tz", "place", "2024-03-20", "21:00:00"])
    for zone in ["utc", "Utc", "Asia/Calcutta", "Europe/Kiev", "europe/paris"]:
        c.add("tz.names", ["--tz", zone, "0", "2024-03-20", "21:00:00"])
    # Two places of one name: an error naming both lines.
    duplicates = {"XDG_CONFIG_HOME": "@GOLDEN@/config-duplicates"}
    c.add("place.duplicate", ["--place", "Home", "2024-03-20T21:00Z"], env=duplicates)
    c.add("place.duplicate", ["--place", "Work", "2024-03-20T21:00Z"], env=duplicates)
    # Suggestions from a places file whose names are all closer than any zone's.
    observatories = {"XDG_CONFIG_HOME": "@GOLDEN@/config-observatories"}
    for name in ["Observatory", "Observatory_Nrth", "observatory north", "Observatory_Old", "Obsrvatory Main"]:
        c.add("place.near", ["--place", name, "2024-03-20T21:00Z"], env=observatories)
    # Where the places file is looked for.
    for env in ({"XDG_CONFIG_HOME": "relative"}, {"XDG_CONFIG_HOME": None},
                {"XDG_CONFIG_HOME": None, "HOME": "@GOLDEN@/home-found"},
                {"XDG_CONFIG_HOME": "relative", "HOME": None}, {"XDG_CONFIG_HOME": None, "HOME": None},
                {"XDG_CONFIG_HOME": "@TMP@/config-unreadable"}, {"XDG_CONFIG_HOME": "@GOLDEN@/missing"}):
        c.add("place.file", ["--place", "Home", "2024-03-20T21:00Z"], env=env)
        c.add("place.file", ["--place", "Nowhere", "2024-03-20T21:00Z"], env=env)


def tables(c):
    # --from/--to/--step/--count: rows in every format and model.
    base = ["--from", "2024-03-20T21:00Z", "--to", "2024-03-21T03:00Z", "--step", "1h"]
    for model in [[], IAU, IAU + ["--apparent", "--dut1", "0.1"]]:
        for fmt in ["text", "hours", "json", "csv"]:
            c.add("table.format", model + base + ["--format", fmt, "0"])
            c.add("table.format", model + base + ["--format", fmt, "--ra", "05:35:17.3", "--precision", "2",
                                                  "--", "-79.85"])
    # (--from, --step, --to or --count, its value)
    steps = [
        ("2024-01-01T00:00:00.5Z", "1s", "--count", "4"),
        ("2024-01-01T00:00:00.5Z", "0.25", "--count", "5"),
        ("2024-01-01T00:00:00Z", "0.1", "--to", "2024-01-01T00:00:00.5Z"),
        ("2024-01-01T00:00:00Z", "0.000000001", "--count", "3"),
        ("2024-01-01T00:00:00Z", "1.5", "--count", "3"),
        ("2024-01-01T00:00:00.123456789Z", "1", "--count", "2"),
        ("2024-01-01T00:00Z", "30s", "--count", "3"),
        ("2024-01-01T00:00Z", "10m", "--count", "3"),
        ("2024-01-01T00:00Z", "1d", "--count", "3"),
        ("2024-01-01T00:00Z", "1.5h", "--count", "3"),
        ("2024-01-01T00:00Z", "0.5d", "--count", "3"),
        ("2024-01-01T00:00Z", "7d", "--to", "2024-02-01T00:00Z"),
        ("2024-01-01T00:00Z", "1h", "--to", "2024-01-01T00:00Z"),
        ("2024-01-01T00:00Z", "1h", "--to", "2024-01-01T02:59:59Z"),
        ("2024-01-01", "1d", "--to", "2024-01-03"),
        ("2024-01-01 12:00", "1h", "--to", "2024-01-01 14:00"),
        ("2024-01-01T12:00+05:30", "1h", "--count", "2"),
        ("2024-01-01T00:00Z", "3155760000", "--count", "3"),
        ("2024-01-01T00:00Z", "36500d", "--count", "2"),
        ("2024-01-01T00:00Z", "36600d", "--count", "2"),
        ("2024-01-01T00:00Z", "1s", "--to", "2024-01-01T00:00:10Z"),
        ("2024-01-02T00:00Z", "1h", "--to", "2024-01-01T00:00Z"),
        ("2024-01-01T00:00Z", "0.000000001", "--to", "2024-01-01T00:00:01Z"),
        ("2016-12-31T23:59:59Z", "0.5", "--count", "4"),
        ("2016-12-31T23:59:60Z", "1s", "--count", "2"),
        # Tables that run past the year 9999.
        ("9999-12-31T22:00Z", "1h", "--count", "5"),
        ("9999-12-31T23:59:59Z", "0.25", "--count", "10"),
        ("9999-12-31T22:00Z", "1h", "--to", "9999-12-31T23:00Z"),
        ("9999-12-31T22:00Z", "1h", "--to", "10000-01-01T00:00Z"),
        ("10000-01-01T00:00Z", "1h", "--count", "2"),
        ("0000-01-01T00:00Z", "1d", "--count", "2"),
        ("9999-12-31T00:00Z", "36600d", "--count", "3"),
        ("2024-01-01T00:00Z", "36500d", "--count", "1000000000000000"),
        ("2024-13-01T00:00Z", "1h", "--count", "2"),
        ("garbage", "1h", "--count", "2"),
        ("2024-01-01T00:00Z", "1h", "--to", "garbage"),
    ]
    for start, step, end_option, end in steps:
        c.add("table.steps", ["--from", start, "--step", step, end_option, end, "0"])
    for start, step, end_option, end in steps[:6]:
        c.add("table.steps", IAU + ["--from", start, "--step", step, end_option, end, "--format", "csv", "0"])
        c.add("table.steps", IAU + ["--from", start, "--step", step, end_option, end, "--format", "json", "0"])
    c.add("table.steps", ["--from", "9999-12-31T23:00Z", "--step", "1h", "--count", "3", "--format", "csv", "0"])
    c.add("table.steps", IAU + ["--from", "9999-12-31T23:00Z", "--step", "1h", "--count", "3", "--format", "json",
                                "0"])
    # In a zone, across the clocks' changes: rows shown in civil time.
    for zone, start, step, count in [("Europe/Paris", "2024-03-31T00:00", "30m", "8"),
                                     ("Europe/Paris", "2024-10-27T00:00", "30m", "10"),
                                     ("America/New_York", "2024-03-10T00:30", "1h", "4"),
                                     ("Australia/Sydney", "2024-04-07T01:00", "30m", "6"),
                                     ("America/St_Johns", "2024-11-03T00:00", "1h", "4"),
                                     ("Europe/Paris", "2024-03-30T12:00", "1d", "3"),
                                     ("Europe/Paris", "2050-03-27T00:00", "1h", "5")]:
        c.add("table.zone", ["--tz", zone, "--from", start, "--step", step, "--count", count, "2.35E"])
        c.add("table.zone", IAU + ["--tz", zone, "--from", start, "--step", step, "--count", count, "--format",
                                   "csv", "2.35E"])
    for args in (["--from", "2024-03-31T02:30", "--step", "1h", "--count", "2"],
                 ["--from", "2024-03-31T02:30", "--fold", "later", "--step", "1h", "--count", "2"],
                 ["--from", "2024-10-27T02:30", "--fold", "earlier", "--step", "30m", "--count", "3"],
                 ["--from", "2024-10-27 00:00", "--to", "2024-10-27 02:30", "--step", "30m"],
                 ["--from", "2024-10-27 00:00", "--to", "2024-10-27 04:00", "--step", "1h", "--fold", "later"],
                 ["--from", "2024-01-01", "--to", "2024-01-03", "--step", "1d", "--format", "json"]):
        c.add("table.zone", ["--tz", "Europe/Paris"] + args + ["2.35E"])
    c.add("table.place", ["--place", "Home", "--tz", "place", "--from", "2024-03-31T01:00", "--step", "1h",
                          "--count", "3"])
    c.add("table.place", ["--place", "Home", "--from", "2024-03-31T01:00", "--step", "1h", "--count", "3",
                          "--format", "json"])
    c.add("table.place", ["--place", 'Quote"Hill', "--tz", "place", "--from", "2024-03-31T01:00", "--step", "1h",
                          "--count", "2", "--format", "csv"])
    c.add("table.place", ["--place", "Nowhere", "--from", "2024-03-31T01:00", "--step", "1h", "--count", "2"])
    # Before 1960 and after the leap-second table's expiry, with iau2006.
    for start in ["1959-12-31T22:00Z", "1900-01-01T00:00Z", "2027-06-27T22:00Z", "0000-01-01T00:00Z"]:
        for fmt in ["text", "json", "csv"]:
            c.add("table.caution", IAU + ["--from", start, "--step", "1h", "--count", "3", "--format", fmt, "0"])
    # Bad longitudes and ranges that are too long.
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "2", "200"])
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "2", "--", ""])
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "1s", "--to", "2100-01-01T00:00Z", "0"])
    c.add("table.bad", ["--from", "0000-01-01T00:00Z", "--step", "0.000000001", "--to", "9999-12-31T00:00Z", "0"])
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "1s", "--to", "2027-03-03T09:46:40Z", "0"])
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "2s", "--to", "2030-05-03T19:33:20Z", "0"])
    c.add("table.bad", ["--from", "2016-12-31T23:59:60Z", "--step", "1h", "--to", "2017-01-01T00:00Z", "0"])
    c.add("table.bad", ["--from", "2024-01-01T00:00Z", "--step", "1h", "--to", "2016-12-31T23:59:60Z", "0"])
    c.add("table.bad", ["--from", "2024-03-20T21:00Z", "--step", "1h", "--count", "2", "--tz", "Mars/Olympus", "0"])
    c.add("table.bad", ["--model", "iau2006", "--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "2",
                        "--eop", FINALS, "0"])
    # Text tables longer than a run of rows: fractions of a second across a
    # leap second's day and a drifting day of 1961, an IERS table that runs
    # out midway, the apparent model.
    for args in (["--from", "2016-12-31T23:59:58.123456789Z", "--step", "0.25", "--count", "40", "0"],
                 ["--from", "1961-12-31T23:59:50Z", "--step", "0.5", "--count", "40", "--", "-79.85"],
                 ["--eop", FINALS_Y2K, "--from", "2000-01-03T00:00Z", "--step", "3h", "--count", "40",
                  "--precision", "6", "2.35E"],
                 ["--apparent", "--from", "2024-03-20T21:00Z", "--step", "7m", "--count", "40", "0"]):
        c.add("table.long", IAU + args)


def batch_text(lines, end="\n"):
    return "".join(line + end for line in lines)


def batches(c):
    # --batch: one output line per input line, in every format and model.
    rng = random.Random(2026)
    mixed = []
    for _ in range(160):
        kind = rng.randrange(10)
        if kind < 5:
            line = "%s %s" % (random_instant(rng, 1900, 2100), random_longitude(rng))
        elif kind < 7:
            line = "%s %s" % (random_instant(rng, 1900, 2100, iso=True), random_longitude(rng))
        elif kind < 9:
            line = "%s %s %s" % (random_instant(rng, 1900, 2100), random_longitude(rng), random_ra(rng))
        else:
            line = rng.choice(["", "# a comment", "garbage", "2024-13-01 00:00:00 0", "2024-01-01 25:00 0",
                               "2024-01-01 00:00:00 200", "2024-01-01", "2024-01-01 00:00", "   ", "\t# tab"])
        mixed.append(line)
    stdin = batch_text(mixed)
    for model in [[], IAU, IAU + ["--apparent", "--dut1", "-0.3"]]:
        for fmt in ["text", "hours", "json", "csv"]:
            c.add("batch.mixed", ["--batch", "--format", fmt] + model, stdin=stdin)
            c.add("batch.mixed", ["--batch", "--format", fmt, "--ra", "12:00", "--precision", "4"] + model,
                  stdin=stdin)
    # The lines of the documentation, readable one by one.
    doc = ["2002-02-30 00:00:00 0", "# note", "garbage", "2002-01-01 00:00:00 79d51mW 12:00:00",
           "2002-01-01 00:00:00 79 51 0 W 12:00:00", "2002-01-01 00:00:00 79d51mW",
           "2002-01-01 06:00:00 79:51:00W 05:35:17", "", "2024-03-20T21:00Z 79d51mW 5:00",
           "2024-03-20 22:00:00.5+01:00 79 51 0 W",
           "2016-12-31 23:59:60.5 0", "2016-12-31T23:59:60Z 0", "2015-06-29 23:59:60 0", "2016-12-31 12:00:60 0"]
    for model in [[], IAU]:
        for fmt in ["text", "hours", "json", "csv"]:
            c.add("batch.doc", ["--batch", "--format", fmt] + model, stdin=batch_text(doc))
    # Line ends, byte-order marks, long lines and bytes that are not text.
    good = "2002-01-01 00:00:00 79d51mW"
    inputs = {
        "crlf": batch_text([good, "", "# c", good + " 12:00"], "\r\n"),
        "cr_runs": good + "\r\r\n" + good + "\r\r\r\n\r\r",
        "cr_inside": good.replace(" ", "\r ", 1) + "\n" + good + "\n",
        "no_final_newline": good + "\n" + good,
        "bom": "\ufeff" + batch_text([good, good]),
        "bom_comment": "\ufeff# date time longitude\n" + good + "\n",
        "bom_alone": "\ufeff",
        "bom_twice": "\ufeff" + good + "\n\ufeff" + good + "\n",
        "bom_crlf": "\ufeff" + good + "\r\n",
        "empty": "",
        "newline": "\n",
        "blank_lines": "\n\n\n",
        "spaces": "   \n\t\n",
        "tabs": good.replace(" ", "\t") + "\n",
        "many_blanks": "  2002-01-01   00:00:00    79   51 0   W   12:00:00  \n",
        "limit_lf": good + " " * (4096 - len(good)) + "\n" + good + "\n",
        "limit_crlf": good + " " * (4096 - len(good)) + "\r\n" + good + "\n",
        "limit_many_cr": good + " " * (4096 - len(good)) + "\r\r\r\n" + good + "\n",
        "over_limit": good + " " * (4097 - len(good)) + "\n" + good + "\n",
        "over_limit_crlf": good + " " * (4097 - len(good)) + "\r\n" + good + "\n",
        "limit_at_end": good + " " * (4096 - len(good)),
        "long_comment": "#" + "x" * 100000 + "\n" + good + "\n",
        "long_indented_comment": "   #" + "x" * 10000 + "\n" + good + "\n",
        "long_blank_line": " " * 10000 + "\n" + good + "\n",
        "long_data_line": good + " " + "9" * 1048576 + "\n" + good + "\n",
        "long_garbage": "x" * 5000 + "\n" + good + "\n",
        "cr_in_long_line": good + "\r" * 5000 + "x\n" + good + "\n",
    }
    for name, text in inputs.items():
        c.add("batch.bytes." + name, ["--batch"], stdin=text)
        c.add("batch.bytes." + name, ["--batch", "--format", "json"], stdin=text)
    binary = {
        "nul": b"2002-01-01\x00 00:00:00 0\n" + good.encode() + b"\n",
        "invalid_utf8": b"2002-01-01 00:00:00 \xff\xfe\xc3\x28\n" + good.encode() + b"\n",
        "latin1": b"2002-01-01 00:00:00 79\xb051'W\n",
        "utf8": "2002-01-01 00:00:00 79°51′W\n".encode(),
        "bom_utf16": b"\xff\xfe2\x000\x000\x002\x00\n",
        "bom_cut": b"\xef\xbb" + good.encode() + b"\n",
        "nul_only": b"\x00\n",
        "escape": b"2002-01-01 00:00:00 \x1b[31m0\n",
        "del": b"2002-01-01 00:00:00 0\x7f\n",
        "quote_backslash": b"2002-01-01 00:00:00 \"79\\51\"\n",
    }
    for name, data in binary.items():
        for fmt in ["text", "json", "csv"]:
            c.add("batch.binary." + name, ["--batch", "--format", fmt], stdin=data)
    # Longitudes and RAs on a line: what is the longitude and what the RA.
    fields = ["2024-03-20 21:00:00 0 05:00", "2024-03-20 21:00:00 05:00", "2024-03-20 21:00:00 79 51 0 W 05:00",
              "2024-03-20 21:00:00 79 51 05:00", "2024-03-20 21:00:00 79:51:00W 05:00:00.5",
              "2024-03-20 21:00:00 79:51:00W", "2024-03-20 21:00:00 0 25:00", "2024-03-20 21:00:00 0 5",
              "2024-03-20 21:00:00 0 05:00 06:00", "2024-03-20T21:00Z 0 05:00", "2024-03-20T21:00Z 05:00",
              "2024-03-20T21:00Z", "2024-03-20 21:00:00", "2024-03-20T21:00+01:00 0", "2024-03-20 21:00+01:00 0",
              "2024-03-20 21:00 +01:00 0", "2024-03-20T21:00:00Z\t0\t05:00", "2024-03-20 21:00:00 0 x:y",
              "2024-03-20 21:00:00 \"79 51 0 W\"", "2024-03-20 21:00:00 79\"W", "2024-03-20 21:00:00 a\"b",
              "2024-03-20 21:00:00 \"", "2024-03-20\"x 21:00:00 0", "2024-03-20 21:00:00 0 05:00\"",
              "2024-03-20 21:00:00 0,5", "2024-03-20 21:00:00 1,2\"3"]
    for args in (["--batch"], ["--batch", "--ra", "12:00"], ["--batch", "--format", "csv"],
                 ["--batch", "--format", "json"], ["--batch", "--format", "csv", "--model", "iau2006"]):
        c.add("batch.fields", args, stdin=batch_text(fields))
    # Years the models refuse or take, through a batch.
    years = ["0000-01-01 00:00:00 0", "9999-12-31 23:59:59.999999999 0", "10000-01-01 00:00:00 0",
             "123456789012345678901234-02-30 00:00:00 0", "3276800-03-01 00:00:00 0", "99999-12-31 00:00:00 0",
             "1582-10-10 00:00:00 0", "0000-01-01T00:00:00+01:00 0", "9999-12-31T23:00-01:00 0"]
    for model in [[], IAU]:
        for fmt in ["text", "json"]:
            c.add("batch.years", ["--batch", "--format", fmt] + model, stdin=batch_text(years))
    # In a zone, with a place, with the leap seconds.
    zoned = ["2024-03-31 02:30 2.35E", "2024-10-27 02:30 2.35E", "2024-07-01 12:00 2.35E", "2024-07-01T12:00Z 2.35E",
             "2024-07-01T12:00+09:00 2.35E", "2017-01-01 00:59:60 2.35E", "2017-01-01 00:58:60 2.35E"]
    for args in (["--tz", "Europe/Paris"], ["--tz", "Europe/Paris", "--fold", "later"],
                 ["--tz", "Europe/Paris", "--format", "json"], ["--tz", "Europe/Paris", "--format", "csv"],
                 IAU + ["--tz", "Europe/Paris", "--format", "json"]):
        c.add("batch.zone", ["--batch"] + args, stdin=batch_text(zoned))
    placed = ["2024-03-20 21:00:00", "2024-03-20T21:00Z", "2024-03-20 21:00:00 05:00", "2024-03-20T21:00Z 05:00",
              "2024-03-20 21:00:00 0", "2024-03-20 21:00:00 0 05:00", "2024-03-20", "", "# c", "2024-03-31 02:30"]
    for args in (["--place", "Home"], ["--place", "Home", "--tz", "place"], ["--place", "Home", "--format", "json"],
                 ["--place", 'Quote"Hill', "--format", "csv"], ["--place", "Sea_Station", "--format", "csv"],
                 IAU + ["--place", "Greenwich_Park", "--tz", "place", "--format", "json"]):
        c.add("batch.place", ["--batch"] + args, stdin=batch_text(placed))
    c.add("batch.place", ["--batch", "--place", "Nowhere"], stdin=batch_text(placed))
    # Input that cannot be read, output that cannot be written.
    c.add("io", ["--batch"], stdin_file="@TMP@")
    c.add("io", ["--batch", "--transit", "-"], stdin_file="@TMP@")
    for args in (["0", "2024-01-01"], ["--format", "csv", "0", "2024-01-01"], ["--transit", "12:00", "0", "2024-01-01"],
                 ["--from", "2024-01-01T00:00Z", "--step", "1h", "--count", "3", "0"], ["--help"], ["--version"]):
        c.add("io", args, stdout_file="/dev/full")
    c.add("io", ["--batch"], stdin="2024-01-01 00:00 0\n", stdout_file="/dev/full")
    # Many lines: the order is kept across the program's threads.
    many = [("%s %s" % (random_instant(rng, 1900, 2100), random_longitude(rng))) for _ in range(3000)]
    c.add("batch.many", ["--batch"], stdin=batch_text(many))
    c.add("batch.many", ["--batch", "--model", "iau2006", "--precision", "6"], stdin=batch_text(many))
    c.add("batch.many", ["--batch", "--format", "csv", "--model", "iau2006"], stdin=batch_text(many))


def day_searches(c):
    # --transit, --lower and --when: single days, both models, zones.
    for model in [[], IAU]:
        for fmt in ["text", "hours", "json"]:
            c.add("transit", model + ["--transit", "05:35:17.3", "--format", fmt, "--", "-79.85", "2024-03-20"])
            c.add("transit", model + ["--transit", "05:35:17.3", "--lower", "--format", fmt, "--", "-79.85",
                                      "2024-03-20"])
            c.add("transit", model + ["--when", "06:00:00", "--format", fmt, "2.35E", "2024-09-22"])
        # Two crossings in a day, one, and a day the classic clock skips.
        for args in (["--transit", "06:40:30", "0", "2016-12-31"], ["--when", "06:40:30", "0", "2016-12-31"],
                     ["--when", "06:40:30", "0", "2017-01-01"], ["--when", "06:40:30", "0", "2016-12-30"],
                     ["--when", "00:00", "0", "2024-09-21"], ["--when", "00:00", "0", "2024-09-22"],
                     ["--when", "23:59:59.999999", "0", "2024-09-22"], ["--transit", "00:00:00", "0", "2024-09-21"],
                     ["--when", "06:00:00.5", "0", "2024-01-01"], ["--when", "06:39:30", "0", "2024-01-01"],
                     ["--when", "06:39:31", "0", "2024-01-01"], ["--when", "06:39:32", "0", "2024-01-01"],
                     ["--when", "06:45:08", "0", "2024-01-01"], ["--when", "06:45:09", "0", "2024-01-01"],
                     ["--when", "12:00", "180", "2024-01-01"], ["--when", "12:00", "-180", "2024-01-01"],
                     ["--transit", "12:00", "--place", "Home", "2024-03-20"],
                     ["--transit", "12:00", "--place", "Home", "--tz", "place", "2024-03-20"],
                     ["--transit", "12:00", "--place", "Nowhere", "2024-03-20"],
                     ["--transit", "12:00", "0", "2024-02-30"], ["--transit", "12:00", "0", "2024-13-01"],
                     ["--transit", "12:00", "0", "0000-01-01"], ["--transit", "12:00", "0", "9999-12-31"],
                     ["--transit", "12:00", "0", "10000-01-01"], ["--transit", "12:00", "0", "2024-03-20T00:00"],
                     ["--transit", "12:00", "200", "2024-03-20"], ["--transit", "12:00", "0", "garbage"],
                     ["--transit", "12:00", "--tz", "Europe/Paris", "0", "9999-12-31"],
                     ["--transit", "12:00", "--tz", "Pacific/Auckland", "0", "0000-01-01"],
                     ["--transit", "12:00", "--tz", "Mars/Olympus", "0", "2024-01-01"]):
            c.add("transit.day", model + args)
        if model:
            for extra in (["--apparent"], ["--dut1", "0.5"], ["--apparent", "--dut1", "-0.9"]):
                c.add("transit.iau2006", model + extra + ["--transit", "05:35:17.3", "--format", "json", "0",
                                                          "2024-03-20"])
        for p in ["0", "1", "6"]:
            c.add("transit.precision", model + ["--precision", p, "--transit", "05:35:17.3", "0", "2024-03-20"])
        c.add("transit.precision", model + ["--precision", "3", "--format", "json", "--when", "05:35:17.3", "0",
                                            "2024-03-20"])
    # A sidereal second the classic clock skips (a whole solar second is longer): none.
    for fmt in ["text", "hours", "json"]:
        c.add("transit.none", ["--when", "18:47:11", "--format", fmt, "0", "2024-01-01"])
    c.add("transit.none", ["--tz", "Asia/Tokyo", "--when", "18:47:11", "0", "2024-01-01"])
    c.add("transit.none", ["--batch", "--when", "-", "--format", "json"],
          stdin=batch_text(["2024-01-01 0 18:47:11", "2024-01-01 0 18:47:12"]))
    c.add("transit.none", IAU + ["--when", "18:47:11", "0", "2024-01-01"])
    # A civil day east of UTC holding a leap second, beside the UTC days.
    for model in [[], IAU]:
        for day in ["2016-12-31", "2017-01-01"]:
            for zone in [[], ["--tz", "Asia/Tokyo"], ["--tz", "America/New_York"], ["--tz", "Pacific/Auckland"]]:
                for search in [["--when", "06:40:30"], ["--transit", "18:40:30", "--lower"]]:
                    c.add("transit.leap", model + zone + search + ["0", day])
        c.add("transit.leap", model + ["--tz", "Asia/Tokyo", "--format", "json", "--when", "14:38:00", "0",
                                       "2017-01-01"])
    # Days of 23 and 25 hours, and days that begin in a gap.
    for zone, day in [("Europe/Paris", "2024-03-31"), ("Europe/Paris", "2024-10-27"),
                      ("America/New_York", "2024-03-10"), ("America/New_York", "2024-11-03"),
                      ("Australia/Sydney", "2024-10-06"), ("Australia/Sydney", "2024-04-07"),
                      ("America/St_Johns", "2024-03-10"), ("Europe/Paris", "2050-03-27")]:
        for model in [[], IAU]:
            for target in ["00:00", "12:00"]:
                c.add("transit.dst", model + ["--tz", zone, "--when", target, "2.35E", day])
            c.add("transit.dst", model + ["--tz", zone, "--format", "json", "--transit", "12:00", "2.35E", day])
    # Before 1960 and after the leap-second table's expiry.
    for day in ["1900-01-01", "1959-12-31", "1960-01-01", "0000-01-01", "2027-06-27", "2027-06-28", "2100-01-01",
                "9999-12-31"]:
        c.add("transit.caution", IAU + ["--transit", "05:00", "0", day])
        c.add("transit.caution", IAU + ["--transit", "05:00", "--format", "json", "0", day])
    # Batches: DATE LONGITUDE [RA or LST], "-" for a value on each line.
    lines = ["2024-03-20 -79.85 05:35:17.3", "2024-03-20 -79.85", "2024-03-20 79 51 0 W 05:35:17.3",
             "2016-12-31 0 06:40:30", "2017-01-01 0 06:40:30", "2024-03-20", "2024-03-20 0 25:00",
             "2024-03-20 0 x:y", "2024-13-01 0 05:00", "garbage", "", "# comment", "2024-03-20 200 05:00",
             "2024-03-20 21:00:00 0", "1900-01-01 0 05:00", "10000-01-01 0 05:00", "2024-03-20\t0\t05:00",
             "2024-03-20 0 05:00\r", "2024-03-20 1,2\"3 05:00", "2024-03-31 2.35E 12:00"]
    stdin = batch_text(lines)
    for model in [[], IAU]:
        for search in [["--transit", "-"], ["--transit", "12:00"], ["--when", "-"], ["--when", "12:00"],
                       ["--transit", "-", "--lower"]]:
            for fmt in ["text", "json"]:
                c.add("transit.batch", model + ["--batch", "--format", fmt] + search, stdin=stdin)
        c.add("transit.batch", model + ["--batch", "--tz", "Europe/Paris", "--when", "-"], stdin=stdin)
        c.add("transit.batch", model + ["--batch", "--tz", "Asia/Tokyo", "--when", "14:38:00"],
              stdin=batch_text(["2016-12-31 0", "2017-01-01 0", "2017-01-02 0"]))
        c.add("transit.batch", model + ["--batch", "--place", "Home", "--transit", "05:35"],
              stdin=batch_text(["2024-03-20", "2024-03-20 05:00", "2024-03-20 0", "2024-03-20 0 05:00"]))
    c.add("transit.batch", IAU + ["--batch", "--transit", "05:00"],
          stdin=batch_text(["1959-12-31 0", "2027-06-28 0", "2024-01-01 0"]))
    c.add("transit.batch", IAU + ["--batch", "--format", "json", "--transit", "05:00"],
          stdin=batch_text(["1959-12-31 0", "2027-06-28 0", "2024-01-01 0"]))
    rng = random.Random(99)
    seeded = ["%04d-%02d-%02d %s %s" % (rng.randint(1900, 2100), rng.randint(1, 12), rng.randint(1, 28),
                                        random_longitude(rng), random_ra(rng)) for _ in range(200)]
    for model in [[], IAU]:
        c.add("transit.seeded", model + ["--batch", "--transit", "-"], stdin=batch_text(seeded))
        c.add("transit.seeded", model + ["--batch", "--when", "-"], stdin=batch_text(seeded))


def eop_tables(c):
    # --eop FILE: each table form, inside and outside its days, damaged.
    at = ["2016-12-31T12:00Z", "2016-12-31T23:59:60Z", "2017-01-01T00:00Z", "2016-12-30T00:00Z",
          "2017-01-02T00:00Z", "2017-01-02T00:00:00.000001Z", "2016-12-29T23:59:59Z"]
    for table in [FINALS, C04, C04_OLD]:
        for instant in at:
            c.add("eop.table", IAU + ["--eop", table, "0", instant])
        c.add("eop.table", IAU + ["--eop", table, "--format", "json", "0", "2016-12-31T12:00Z"])
        c.add("eop.table", IAU + ["--eop", table, "--format", "csv", "0", "2016-12-31T12:00Z"])
        c.add("eop.table", IAU + ["--eop", table, "--apparent", "--format", "json", "0", "2016-12-31T12:00Z"])
        c.add("eop.table", IAU + ["--eop", table, "--transit", "06:40:30", "0", "2016-12-31"])
        c.add("eop.table", IAU + ["--eop", table, "--when", "06:40:30", "--format", "json", "0", "2017-01-01"])
        c.add("eop.table", IAU + ["--eop", table, "--from", "2016-12-31T00:00Z", "--step", "12h", "--count", "6",
                                  "--format", "csv", "0"])
        c.add("eop.table", IAU + ["--eop", table, "--batch", "--format", "json"],
              stdin=batch_text(["2016-12-31 12:00 0", "2016-12-29 12:00 0", "garbage", "2017-01-01T00:00Z 0"]))
        c.add("eop.table", IAU + ["--eop", table, "--batch"],
              stdin=batch_text(["2016-12-31 12:00 0", "2016-12-29 12:00 0", "2017-01-01T00:00Z 0"]))
    # Rows across 1999-12-31 / 2000-01-01 of a finals file, final then predicted.
    for instant in ["1999-12-27T00:00Z", "1999-12-31T00:00Z", "1999-12-31T12:00Z", "1999-12-31T23:59:59Z",
                    "2000-01-01T00:00Z", "2000-01-01T12:00Z", "2000-01-03T12:00Z", "2000-01-04T00:00Z",
                    "2000-01-04T12:00Z", "2000-01-05T00:00Z", "2000-01-05T00:00:01Z", "1999-12-26T23:59Z"]:
        c.add("eop.y2k", IAU + ["--eop", FINALS_Y2K, "--format", "json", "0", instant])
    c.add("eop.y2k", IAU + ["--eop", FINALS_Y2K, "--from", "1999-12-30T00:00Z", "--step", "12h", "--count", "14",
                            "--format", "csv", "0"])
    c.add("eop.y2k", IAU + ["--eop", FINALS_Y2K, "--transit", "12:00", "0", "1999-12-31"])
    c.add("eop.y2k", IAU + ["--eop", FINALS_Y2K, "--transit", "12:00", "--format", "json", "0", "2000-01-04"])
    c.add("eop.y2k", IAU + ["--eop", FINALS_Y2K, "--tz", "Asia/Tokyo", "0", "2000-01-01", "08:00"])
    c.add("eop.y2k", ["--version", "--eop", FINALS_Y2K])
    # Tables that cannot be used.
    for name in ["finals-truncated.excerpt", "finals-mjd-mismatch.excerpt", "finals-bad-flag.excerpt",
                 "finals-gap.excerpt", "finals-beyond-1s.excerpt", "finals-final-after-predicted.excerpt",
                 "finals-value-after-end.excerpt", "finals-bad-value.excerpt", "finals-one-row.excerpt",
                 "eopc04-hour.excerpt", "eopc04-bad-value.excerpt", "not-iers.txt", "empty.txt"]:
        c.add("eop.bad", IAU + ["--eop", "@GOLDEN@/eop/" + name, "0", "2016-12-31T12:00Z"])
    for path in ["missing.all", "home", ".", "/", "@GOLDEN@/places", "@GOLDEN@/leap/leap-seconds-2027.list"]:
        c.add("eop.bad", IAU + ["--eop", path, "0", "2016-12-31T12:00Z"])
    c.add("eop.bad", IAU + ["--eop", "missing.all", "--batch"], stdin="2016-12-31 12:00 0\n")
    c.add("eop.bad", IAU + ["--eop", "missing.all", "--transit", "12:00", "0", "2016-12-31"])
    c.add("eop.bad", IAU + ["--eop", "missing.all", "--from", "2016-12-31T00:00Z", "--step", "1h", "--count", "2",
                            "0"])
    c.add("eop.bad", IAU + ["--eop", "@GOLDEN@/eop/finals-gap.excerpt", "--from", "2016-12-31T00:00Z", "--step",
                            "1h", "--count", "2", "0"])
    # A clock with no reading now (today is outside the table): a failed run, at once.
    c.add("eop.watch", IAU + ["--eop", FINALS, "--watch", "0"])
    # none, and the table of VANTORIL_LST_EOP or of the default places.
    c.add("eop.none", IAU + ["--eop", "none", "--format", "json", "0", "2016-12-31T12:00Z"])
    c.add("eop.none", IAU + ["--eop", "none", "0", "2016-12-31T12:00Z"], env={"VANTORIL_LST_EOP": FINALS})
    c.add("eop.none", IAU + ["--eop", "NONE", "0", "2016-12-31T12:00Z"])
    for env in ({"VANTORIL_LST_EOP": FINALS}, {"VANTORIL_LST_EOP": ""}, {"VANTORIL_LST_EOP": "missing.all"},
                {"VANTORIL_LST_EOP": "@GOLDEN@/eop/finals-gap.excerpt"}, {"VANTORIL_LST_EOP": None},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-found"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-damaged"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-only-damaged"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "/proc/self/cwd/share-unreadable"},
                {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": None, "HOME": "@GOLDEN@/home-found"}):
        for fmt in ["text", "json", "csv"]:
            c.add("eop.found", IAU + ["--format", fmt, "0", "2016-12-31T12:00Z"], env=env)
        c.add("eop.found", IAU + ["0", "2024-03-20T12:00Z"], env=env)
        c.add("eop.found", IAU + ["--format", "json", "0", "2024-03-20T12:00Z"], env=env)
        c.add("eop.found", IAU + ["--batch"], stdin="2016-12-31 12:00 0\n2024-03-20 12:00 0\n", env=env)
    for env in ({"VANTORIL_LST_EOP": FINALS}, {"VANTORIL_LST_EOP": None, "XDG_DATA_HOME": "@GOLDEN@/share-damaged"}):
        c.add("eop.found", IAU + ["--dut1", "0.1", "0", "2016-12-31T12:00Z"], env=env)
        c.add("eop.found", ["0", "2016-12-31T12:00Z"], env=env)
    # A table whose name holds a double quote: CSV, JSON and messages.
    quoted = "@TMP@/quote\"d.all"
    for args in (["--eop", quoted, "--format", "csv", "0", "2016-12-31T12:00Z"],
                 ["--eop", quoted, "--format", "csv", "0", "2024-03-20T12:00Z"],
                 ["--eop", quoted, "--format", "json", "0", "2016-12-31T12:00Z"],
                 ["--eop", quoted, "--batch", "--format", "csv"], ["--eop", quoted, "--batch", "--format", "json"]):
        stdin = "2016-12-31 12:00 0\n2024-03-20 12:00 0\n" if "--batch" in args else None
        c.add("eop.quote", IAU + args, stdin=stdin)
    for fmt in ["text", "json", "csv"]:
        c.add("eop.quote", IAU + ["--format", fmt, "0", "2024-03-20T12:00Z"], env={"VANTORIL_LST_EOP": quoted})
        c.add("eop.quote", IAU + ["--format", fmt, "0", "2016-12-31T12:00Z"], env={"VANTORIL_LST_EOP": quoted})


def leap_tables(c):
    # VANTORIL_LEAP_SECONDS: missing, empty (ERFA's own), damaged, older, newer.
    envs = [{"VANTORIL_LEAP_SECONDS": "/nonexistent"}, {"VANTORIL_LEAP_SECONDS": ""}]
    envs += [{"VANTORIL_LEAP_SECONDS": LEAP + name} for name in LEAP_FILES[:3]]
    for env in [{"VANTORIL_LEAP_SECONDS": "/"}, {"VANTORIL_LEAP_SECONDS": "home"}] + [
            {"VANTORIL_LEAP_SECONDS": LEAP + name} for name in LEAP_FILES[3:]]:
        c.add("leapfile.damaged", IAU + ["0", "2016-12-31", "23:59:60"], env=env)
        c.add("leapfile.damaged", IAU + ["--format", "json", "0", "2029-06-01"], env=env)
    for env in envs:
        for args in (["0", "2016-12-31", "23:59:60"], ["0", "2026-12-31", "23:59:60"], ["0", "2026-06-01"],
                     ["0", "2029-06-01"], ["--format", "json", "0", "2029-06-01"], ["0", "1965-06-01"]):
            c.add("leapfile", IAU + args, env=env)
        c.add("leapfile", ["0", "2016-12-31", "23:59:59"], env=env)
        c.add("leapfile", IAU + ["--batch"], stdin="2016-12-31 23:59:60 0\n2029-06-01 00:00 0\n", env=env)
        c.add("leapfile", IAU + ["--transit", "12:00", "0", "2026-12-31"], env=env)
    # Leap seconds read through a zone and a found table, with the table of 2027.
    future = {"VANTORIL_LEAP_SECONDS": LEAP + "leap-seconds-2027.list"}
    for args in (["0", "2027-01-01T08:59:60+09:00"], ["--tz", "Asia/Tokyo", "0", "2027-01-01", "08:59:60"],
                 ["--from", "2026-12-31T23:59:59Z", "--step", "0.5", "--count", "4", "0"],
                 ["--when", "06:40:30", "0", "2026-12-31"],
                 ["--tz", "Asia/Tokyo", "--when", "06:40:30", "0", "2027-01-01"],
                 ["0", "2028-06-28T00:00Z"], ["0", "2028-06-27T23:59:59.999Z"]):
        c.add("leapfile.2027", IAU + args, env=future)


def cautions(c):
    # Years before 1960 and after the table's expiry with iau2006: a warning
    # once on standard error, a warning member in JSON and CSV.
    for instant in ["1959-12-31T23:59:59Z", "1960-01-01T00:00Z", "1900-01-01T00:00Z", "0000-01-01T00:00Z",
                    "1000-06-15T12:00Z", "2027-06-27T23:59:59Z", "2027-06-28T00:00Z", "2100-01-01T00:00Z",
                    "9999-12-31T23:59:59Z", "1959-12-32T00:00Z"]:
        for fmt in ["text", "hours", "json", "csv"]:
            c.add("caution", IAU + ["--format", fmt, "0", instant])
    lines = ["1959-12-31 23:59:59 0", "2027-06-28 00:00 0", "2024-01-01 00:00 0", "1900-01-01 00:00 0",
             "2100-01-01 00:00 0"]
    for fmt in ["text", "hours", "json", "csv"]:
        c.add("caution.batch", IAU + ["--batch", "--format", fmt], stdin=batch_text(lines))
        c.add("caution.batch", IAU + ["--batch", "--format", fmt], stdin=batch_text(lines[2:3]))
    c.add("caution.batch", IAU + ["--batch", "--tz", "Europe/Paris", "--format", "json"],
          stdin=batch_text(["1900-01-01 00:00 0", "1959-12-31 23:59:59 0"]))


def csv_quoting(c):
    # RFC 4180 fields holding a double quote, a comma, both, or neither.
    for line in ['2024-03-20 21:00:00 79"W', '2024-03-20 21:00:00 "79 51 0 W"', "2024-03-20 21:00:00 1,5",
                 '2024-03-20 21:00:00 1,"5', '"2024-03-20" 21:00:00 0', '2024-03-20 21:00:00 0 05:00"',
                 '2024-03-20 21:00:00 0 "05:00"', 'garbage"', "garbage", 'a"b,c d"e']:
        for model in [[], IAU]:
            c.add("csv.quote", model + ["--batch", "--format", "csv"], stdin=line + "\n")
    for args in (["--format", "csv", "--", '79"W', "2024-03-20", "21:00"],
                 ["--format", "csv", "--", "79 51 0 W", "2024-03-20", "21:00"],
                 ["--format", "csv", "--place", 'Quote"Hill', "2024-03-20", "21:00"],
                 ["--format", "csv", "--place", "Comma,Point", "2024-03-20", "21:00"],
                 ["--format", "csv", "--place", 'No"Such', "2024-03-20", "21:00"],
                 ["--format", "json", "--place", 'Quote"Hill', "2024-03-20", "21:00"],
                 ["--format", "json", "--", '79"W', "2024-03-20", "21:00"],
                 ["--format", "csv", "--ra", '05:00"', "0", "2024-03-20", "21:00"],
                 ["--format", "csv", "--tz", 'Europe/Par"is', "0", "2024-03-20", "21:00"]):
        c.add("csv.args", args)


def newer_forms(c):
    """Right ascensions in hours and degrees, catalogue places, instants as
    JD, MJD and Unix time, every sidereal angle at once, the shells' scripts."""
    at = ["0", "2024-03-20T21:00Z"]
    for ra in ["5h35m17.3s", "5.588h", "83.82d", "5h", "83.82", "5h35m61s", "-1h"]:
        c.add("forms.ra", IAU + ["--ra", ra] + at)
    for dec in ["-05:23:28", "-5d23m28s", "-5.391", "+90:00:00", "90:00:01", "-5d60m", "x"]:
        c.add("forms.dec", IAU + ["--ra", "05:35:17.3", "--dec", dec] + at)
    for fmt in ["text", "json", "csv"]:
        c.add("forms.dec", IAU + ["--ra", "05:35:17.3", "--dec", "-05:23:28", "--format", fmt] + at)
        c.add("forms.dec", IAU + ["--transit", "05:35:17.3", "--dec", "-05:23:28", "--format",
                                  "hours" if fmt == "csv" else fmt, "-79.85", "2026-12-15"])
    c.add("forms.dec", ["--ra", "05:35:17.3", "--dec", "-05:23:28"] + at)
    c.add("forms.dec", IAU + ["--batch", "--dec", "-"],
          stdin="2024-03-20T21:00Z 0 05:35:17.3 -05:23:28\n2024-03-20T21:00Z 0 05:35:17.3\n")
    for instant in ["JD2460000.5", "MJD60000.25", "@1700000000", "@-1", "JD1", "MJD60000.25x", "@1e9"]:
        c.add("forms.instant", ["0", instant])
        c.add("forms.instant", IAU + ["--format", "json", "0", instant])
    for show in ["all", "gmst,era", "last,eqeq", "lst", "gmst,gmst"]:
        for fmt in ["text", "hours", "json", "csv"]:
            c.add("forms.show", IAU + ["--apparent", "--show", show, "--format", fmt, "2.35E", "2024-03-20T21:00Z"])
    c.add("forms.show", ["--show", "all", "0", "2024-03-20T21:00Z"])
    for shell in ["bash", "zsh", "fish", "tcsh"]:
        c.add("forms.completion", ["--completion", shell])


def cases():
    c = Corpus()
    help_and_version(c)
    usage_errors(c)
    longitudes(c)
    dates_and_times(c)
    leap_seconds(c)
    option_matrix(c)
    hour_angles(c)
    dut1_values(c)
    zones(c)
    places(c)
    tables(c)
    batches(c)
    day_searches(c)
    eop_tables(c)
    leap_tables(c)
    cautions(c)
    csv_quoting(c)
    newer_forms(c)
    return c.cases
