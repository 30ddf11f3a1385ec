#!/bin/sh
# SPDX-License-Identifier: MIT
# --format json as JSON Lines: a batch with results, blank and comment lines,
# errors and a byte-order mark gives one value per line that jq (when
# installed) and Python's json both read, and jq -c .lst keeps going past the
# errors.
#
#   json_lines_test.sh PATH/TO/vantoril-lst
set -eu
lst="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '\357\273\277# date time longitude\r\n2002-02-30 00:00:00 0\n\ngarbage\n2002-01-01 00:00:00 "\\\n2002-01-01 00:00:00 79d51mW 12:00:00\r\n' >"$work/in"
status=0
"$lst" --batch --format json <"$work/in" >"$work/out" || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
[ "$(wc -l <"$work/out")" -eq 6 ] || { echo "expected 6 lines:"; cat "$work/out"; exit 1; }
python3 -c '
import json, sys
values = [json.loads(line) for line in open(sys.argv[1])]
assert values[0] is None and values[2] is None, values
assert values[1]["utc"] == "2002-03-02T00:00:00" and values[1]["utc_text"] == "2002-02-30 00:00:00", values[1]
assert set(values[3]) == {"error"} and set(values[4]) == {"error"}, values
assert values[5]["lst"] == "1:22:30" and values[5]["hour_angle"] == "-10:37:30", values[5]
' "$work/out"
if command -v jq >/dev/null; then
  jq -c .lst <"$work/out" >"$work/lst"
  [ "$(tr '\n' ' ' <"$work/lst")" = 'null "10:38:27" null null null "1:22:30" ' ] || { cat "$work/lst"; exit 1; }
fi
echo "JSON Lines: 6 lines read by Python's json$(command -v jq >/dev/null && echo ' and jq')"
