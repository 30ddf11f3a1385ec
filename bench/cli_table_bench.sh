#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# vantoril-lst's tables and time zones, iau2006, at 2.3372 E:
#   a mean table of ROWS rows (--from 2000-01-01T00:00Z --count ROWS --step
#   1m) against skyfield and astropy computing the same instants, for the
#   array alone (with the import and without) and with the same text lines
#   written (targets: >= 10x skyfield with its import, >= 3x without), and
#   against --batch on the same instants;
#   an apparent table of ROWS/10 rows against astropy's (target: >= 20x with
#   its import);
#   the mean table's peak RSS (target: under 16 MiB);
#   --batch --tz Europe/Paris on those lines read as civil times against the
#   UTC batch (target: within 1.2x).
# Timed end to end as cli_bench.sh times them; medians of RUNS runs.
#
#   bench/cli_table_bench.sh [RUNS] [VANTORIL-LST] [ROWS] [OTHER-VANTORIL-LST]
#                                          (default 5; built here; 1,000,000; none)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
lst="${2:-}"
rows="${3:-1000000}"
against="${4:-}"
apparent_rows=$((rows / 10))
python=/usr/bin/python3  # Debian's, which has python3-astropy and python3-skyfield
# shellcheck source=SCRIPTDIR/bench_lib.sh
source "$root/bench/bench_lib.sh"
if [ -z "$lst" ]; then lst="$(built_lst "$root")"; fi
export VANTORIL_LST_EOP=none

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
bench_outputs=("$work/table.txt" "$work/out.txt" "$work/peer.txt")
"$python" - "$rows" >"$work/lines.txt" <<'PY'
import datetime, sys
start, step = datetime.datetime(2000, 1, 1), datetime.timedelta(minutes=1)
sys.stdout.write("".join(f"{start + i * step:%Y-%m-%d %H:%M:%S} 2.3372\n" for i in range(int(sys.argv[1]))))
PY

table() { "$1" --model iau2006 "${@:3}" --from 2000-01-01T00:00Z --count "$2" --step 1m 2.3372 >"$work/table.txt"; }
batch() { "$lst" --batch --model iau2006 "$@" <"$work/lines.txt" >"$work/out.txt"; }
# Peak resident memory of the table in MiB.
table_rss() {
  # GNU time reads the program's own peak; a child of Python would carry Python's peak over its exec.
  /usr/bin/time -f %M -o "$work/rss.txt" "$lst" --model iau2006 --from 2000-01-01T00:00Z --count "$rows" \
    --step 1m 2.3372 >"$work/table.txt"
  awk '{ printf "%.1f\n", $1 / 1024 }' "$work/rss.txt"
}
peer() { "$python" "$root/bench/cli_skyfield.py" "$1" "$2" 2.3372 "$work/peer.txt" >"$work/peer-times.txt"; }
# import, compute and text seconds of the last peer run into times[$1_*]
keep() {
  local imp comp text
  read -r imp comp text <"$work/peer-times.txt"
  times[$1_import]+="$imp " times[$1_compute]+="$comp " times[$1_text]+="$text "
}

declare -A times
for ((r = 0; r < runs; r++)); do
  times[table]+="$(wall table "$lst" "$rows") "
  times[apparent]+="$(wall table "$lst" "$apparent_rows" --apparent) "
  [ -n "$against" ] && times[old_table]+="$(wall table "$against" "$rows") "
  times[batch]+="$(wall batch) "
  times[paris]+="$(wall batch --tz Europe/Paris) "
  times[rss]+="$(table_rss 2>>"${BENCH_LOG:-/dev/null}") "
  peer skyfield "$rows" && keep skyfield
  peer astropy "$rows" && keep astropy
  peer astropy-apparent "$apparent_rows" && keep astropy_apparent
done
# The table's rows are the batch's lines, answer for answer, and skyfield's.
table "$lst" "$rows"
batch
cut -d' ' -f2 "$work/table.txt" | cmp -s - "$work/out.txt" ||
  { echo "the table's answers are not the batch's" >&2; exit 1; }
[ "$(wc -l <"$work/table.txt")" -eq "$rows" ] || { echo "the table has a wrong row count" >&2; exit 1; }

t=$(median table) s_i=$(median skyfield_import) s_c=$(median skyfield_compute) s_t=$(median skyfield_text)
echo "== vantoril-lst tables and --tz, $rows instants a minute apart, medians of $runs runs"
awk -v t="$t" -v b="$(median batch)" -v si="$s_i" -v sc="$s_c" -v st="$s_t" \
  -v ai="$(median astropy_import)" -v ac="$(median astropy_compute)" -v at="$(median astropy_text)" \
  -v m1="$(verdict "$(awk -v t="$t" -v a="$s_i" -v b="$s_c" 'BEGIN { print (a + b) / t }')" '>=' 10)" \
  -v m2="$(verdict "$(awk -v t="$t" -v b="$s_c" 'BEGIN { print b / t }')" '>=' 3)" 'BEGIN {
  printf "mean table:   %6.3f s (--batch of the same instants: %6.3f s)\n", t, b
  printf "    skyfield  %6.3f s with import: %.1fx (target >= 10: %s); %6.3f s without: %.1fx (target >= 3: %s)\n", si + sc, (si + sc) / t, m1, sc, sc / t, m2
  printf "              %6.3f s with import and the text lines written: %.1fx\n", si + sc + st, (si + sc + st) / t
  printf "    astropy   %6.3f s with import: %.1fx; %6.3f s without: %.1fx; %6.3f s with the text: %.1fx\n", ai + ac, (ai + ac) / t, ac, ac / t, ai + ac + at, (ai + ac + at) / t
}'
a=$(median apparent) aai=$(median astropy_apparent_import) aac=$(median astropy_apparent_compute)
awk -v n="$apparent_rows" -v a="$a" -v ai="$aai" -v ac="$aac" \
  -v met="$(verdict "$(awk -v a="$a" -v i="$aai" -v c="$aac" 'BEGIN { print (i + c) / a }')" '>=' 20)" 'BEGIN {
  printf "apparent table, %d rows: %6.3f s; astropy %6.3f s with import: %.1fx (target >= 20: %s), %6.3f s without: %.1fx\n", n, a, ai + ac, (ai + ac) / a, met, ac, ac / a
}'
m=$(median rss)
echo "    peak RSS of the mean table: $m MiB (target < 16: $(verdict "$m" '<=' 15.99))"
p=$(median paris) b=$(median batch)
awk -v p="$p" -v b="$b" -v met="$(verdict "$(awk -v p="$p" -v b="$b" 'BEGIN { print p / b }')" '<=' 1.2)" \
  'BEGIN { printf "--tz Europe/Paris batch: %6.3f s against %6.3f s in UTC: %.2fx (target <= 1.2: %s)\n", p, b, p / b, met }'
if [ -n "$against" ]; then
  awk -v t="$t" -v o="$(median old_table)" 'BEGIN { printf "against the other binary: mean table %.3f s (now %.2fx)\n", o, t / o }'
fi
load_line
