#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# vantoril-lst's tables and time zones, iau2006 mean, at 2.3372 E:
#   a table of ROWS rows (--from 2000-01-01T00:00Z --count ROWS --step 1m)
#   against --batch on the same instants (target: no slower per row), its
#   peak RSS (target: under 16 MiB), and astropy and skyfield computing the
#   same instants, imports included;
#   --batch --tz Europe/Paris on those lines read as civil times against
#   the UTC batch (target: within 1.5x).
# Timed end to end as cli_bench.sh times them; medians of RUNS runs.
#
#   bench/cli_table_bench.sh [RUNS] [VANTORIL-LST] [ROWS]   (default 5; built here; 1,000,000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
lst="${2:-}"
rows="${3:-1000000}"
python=/usr/bin/python3  # Debian's, which has python3-astropy and python3-skyfield
# shellcheck source=SCRIPTDIR/bench_lib.sh
source "$root/bench/bench_lib.sh"
if [ -z "$lst" ]; then lst="$(built_lst "$root")"; fi
export VANTORIL_LST_EOP=none

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$python" - "$rows" >"$work/lines.txt" <<'PY'
import datetime, sys
start, step = datetime.datetime(2000, 1, 1), datetime.timedelta(minutes=1)
sys.stdout.write("".join(f"{start + i * step:%Y-%m-%d %H:%M:%S} 2.3372\n" for i in range(int(sys.argv[1]))))
PY

table() { "$lst" --model iau2006 --from 2000-01-01T00:00Z --count "$rows" --step 1m 2.3372 >"$work/table.txt"; }
batch() { "$lst" --batch --model iau2006 "$@" <"$work/lines.txt" >"$work/out.txt"; }
# Peak resident memory of the table in MiB (the child's, from getrusage).
table_rss() {
  "$python" - "$lst" "$rows" "$work/table.txt" <<'PY'
import resource, subprocess, sys
lst, rows, out = sys.argv[1:]
with open(out, "w") as f:
    subprocess.run([lst, "--model", "iau2006", "--from", "2000-01-01T00:00Z", "--count", rows, "--step", "1m",
                    "2.3372"], stdout=f, check=True)
print(f"{resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024:.1f}")
PY
}
other() { "$python" "$root/bench/cli_skyfield.py" "$1" "$rows" 2.3372 >"$work/other.txt"; }

declare -A times
for ((r = 0; r < runs; r++)); do
  times[table]+="$(wall table) "
  times[batch]+="$(wall batch) "
  times[paris]+="$(wall batch --tz Europe/Paris) "
  times[rss]+="$(table_rss) "
  times[skyfield]+="$(wall other skyfield) "
  read -r _ comp <"$work/other.txt"
  times[skyfield_compute]+="$comp "
  times[astropy]+="$(wall other astropy) "
  read -r _ comp <"$work/other.txt"
  times[astropy_compute]+="$comp "
done
# The table's rows are the batch's lines, answer for answer.
batch
cut -d' ' -f2 "$work/table.txt" | cmp -s - "$work/out.txt" ||
  { echo "the table's answers are not the batch's" >&2; exit 1; }
[ "$(wc -l <"$work/table.txt")" -eq "$rows" ] || { echo "the table has a wrong row count" >&2; exit 1; }

echo "== vantoril-lst tables and --tz, iau2006 mean, $rows instants a minute apart, medians of $runs runs"
awk -v n="$rows" -v t="$(median table)" -v b="$(median batch)" -v p="$(median paris)" -v m="$(median rss)" \
  -v s="$(median skyfield)" -v sc="$(median skyfield_compute)" -v a="$(median astropy)" \
  -v ac="$(median astropy_compute)" 'BEGIN {
  printf "table:        %6.3f s against %6.3f s for --batch: %.2fx per row (target <= 1)\n", t, b, t / b
  printf "    peak RSS: %.1f MiB (target < 16)\n", m
  printf "    skyfield  %6.3f s with import (%.1fx), %6.3f s without (%.1fx)\n", s, s / t, sc, sc / t
  printf "    astropy   %6.3f s with import (%.1fx), %6.3f s without (%.1fx)\n", a, a / t, ac, ac / t
  printf "--tz Europe/Paris batch: %6.3f s against %6.3f s in UTC: %.2fx (target <= 1.5)\n", p, b, p / b
}'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
