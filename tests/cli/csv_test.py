#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""--format csv read back by Python's csv module: one header, then one row per
answer (one per input line in a batch, a failed line with its error column),
the same figures as JSON Lines give.

    csv_test.py VANTORIL_LST"""
import csv
import io
import json
import subprocess
import sys

LST = sys.argv[1]
LINES = [
    "2024-03-20T21:00Z 79d51mW 5:00",
    "",
    'bad,"quoted"',
    "2024-03-20 22:00:00.5+01:00 \"79 51 0 W\"",
    "# a comment",
    "2016-12-31 23:59:60.5 0",
]


def run(*args, stdin=""):
    done = subprocess.run([LST, *args], input=stdin.encode(), capture_output=True)
    done.stdout = done.stdout.decode()
    return done


def rows(text):
    assert text.endswith("\r\n"), repr(text[-20:])
    return list(csv.DictReader(io.StringIO(text, newline="")))


def main():
    common = ["--model", "iau2006", "--tz", "Asia/Kolkata"]
    batch = run("--batch", "--format", "csv", *common, stdin="\n".join(LINES) + "\n")
    json_lines = run("--batch", "--format", "json", *common, stdin="\n".join(LINES) + "\n")
    got = rows(batch.stdout)
    assert all(None not in row and None not in row.values() for row in got), got
    assert batch.returncode == 1, batch
    assert len(got) == len(LINES), got
    for row, line, js in zip(got, LINES, json_lines.stdout.splitlines()):
        answer = json.loads(js)
        if answer is None:
            assert all(v == "" for v in row.values()), row
        elif "error" in answer:
            assert row["error"] == answer["error"] and row["lst"] == "", (row, answer)
        else:
            assert row["error"] == "", row
            assert row["utc"] == answer["utc"] + "Z", (row, answer)
            for key in ("local", "zone", "longitude", "lst", "kind"):
                assert row[key] == str(answer[key]), (key, row, answer)
            assert float(row["lst_hours"]) == answer["lst_hours"], (row, answer)
            assert float(row["longitude_deg"]) == answer["longitude_deg"], (row, answer)
    assert got[2]["error"].endswith('found "bad,\\x22quoted\\x22"'), got[2]

    single = run("--format", "csv", "0", "2024-03-20T21:00Z")
    assert single.returncode == 0, single
    assert [r["lst"] for r in rows(single.stdout)] == ["8:55:31"], single.stdout
    print("csv read back: ok")


if __name__ == "__main__":
    main()
