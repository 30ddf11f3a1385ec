#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# vantoril-lst's day search and IERS tables against its plain batch, on
# seeded lines (1963-2099, decimal longitudes), iau2006 mean:
#   --transit on 100,000 "DATE LONGITUDE RA" lines against 100,000 sidereal
#   times (target: within 5x);
#   --eop FILE on 1,000,000 lines against --eop none (target: <= 5 % more).
# The IERS file is written here: a daily EOP C04 table over the lines' years.
# Timed end to end as cli_bench.sh times them; medians of RUNS runs.
#
#   bench/cli_transit_bench.sh [RUNS] [VANTORIL-LST] [LINES]   (default 3; built here; 1,000,000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-3}"
lst="${2:-}"
lines="${3:-1000000}"
python=/usr/bin/python3
# shellcheck source=SCRIPTDIR/bench_lib.sh
source "$root/bench/bench_lib.sh"
if [ -z "$lst" ]; then lst="$(built_lst "$root")"; fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
bench_outputs=("$work/out.txt")
# Two draws a line, about 69 % of the years 1900-2099 being from 1963; awk
# reads them all, as head would cut the pipe short under pipefail.
"$python" "$root/bench/cli_instants.py" $((lines * 2)) 20261209 --decimal |
  awk -v n="$lines" '$1 >= "1963" && kept < n { print; kept++ }' >"$work/1m.txt"
if [ "$(wc -l <"$work/1m.txt")" -ne "$lines" ]; then
  echo "fewer than $lines lines from 1963 drawn" >&2
  exit 1
fi
head -n $((lines / 10)) "$work/1m.txt" >"$work/100k.txt"
# The same days and places with a right ascension in place of the time.
awk 'BEGIN { srand(21) } { printf "%s %s %02d:%02d:%02d\n", $1, $3, int(rand() * 24), int(rand() * 60), int(rand() * 60) }' \
  "$work/100k.txt" >"$work/transits.txt"
"$python" - "$work/eop.txt" <<'PY'
import datetime, math, sys
day, end = datetime.date(1962, 1, 1), datetime.date(2101, 1, 1)
mjd = 37665
with open(sys.argv[1], "w") as out:
    out.write("\n" * 14)  # the classic C04 header's room
    while day < end:
        out.write(f"{day.year:4d}{day.month:4d}{day.day:4d}{mjd:7d}{0.1:11.6f}{0.3:11.6f}"
                  f"{0.5 * math.sin(mjd / 300):12.7f}{0.001:12.7f}\n")
        day += datetime.timedelta(days=1)
        mjd += 1
PY

batch() { "$lst" --batch --model iau2006 "${@:2}" <"$1" >"$work/out.txt"; }

declare -A times
for ((r = 0; r < runs; r++)); do
  times[plain100k]+="$(wall batch "$work/100k.txt" --eop none) "
  times[transit100k]+="$(wall batch "$work/transits.txt" --eop none --transit -) "
  times[none1m]+="$(wall batch "$work/1m.txt" --eop none) "
  times[eop1m]+="$(wall batch "$work/1m.txt" --eop "$work/eop.txt") "
done
if grep -q error "$work/out.txt"; then
  echo "vantoril-lst refused lines with the table: $(grep -m1 error "$work/out.txt")" >&2
  exit 1
fi
p=$(median plain100k) t=$(median transit100k) n=$(median none1m) e=$(median eop1m)
echo "== vantoril-lst --transit and --eop, iau2006 mean, medians of $runs runs"
awk -v p="$p" -v t="$t" -v n="$n" -v e="$e" -v NL="$lines" \
  -v m1="$(verdict "$(awk -v p="$p" -v t="$t" 'BEGIN { print t / p }')" '<=' 5)" \
  -v m2="$(verdict "$(awk -v n="$n" -v e="$e" 'BEGIN { print (e / n - 1) * 100 }')" '<=' 5)" 'BEGIN {
  printf "--transit, %d lines: %6.3f s against %6.3f s for as many sidereal times: %.2fx (target <= 5: %s)\n", NL / 10, t, p, t / p, m1
  printf "--eop, %d lines:   %6.3f s against %6.3f s without: %+.1f %% (target <= 5 %%: %s)\n", NL, e, n, (e / n - 1) * 100, m2
}'
load_line
