#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# vantoril-lst --batch against astropy's vectorised sidereal_time on the same
# one million seeded instants (1900-2100, decimal longitudes):
#   classic and iau2006 mean on 1,000,000 lines, apparent on the first 100,000;
#   astropy mean (IAU2006) on 1,000,000 and apparent (IAU2006A) on 100,000,
#   timed for the array alone (with its import and without) and for writing
#   the same text lines too, as a user who wants a file pays for both.
# vantoril-lst is timed end to end: reading the lines from a file on standard
# input, writing the results to a file. Then tables against skyfield and
# astropy, time zones, --transit and --eop (their own scripts). Prints the
# median of RUNS runs and whether each target is met; the program's warnings
# go to a log, not among the figures.
#
#   bench/cli_bench.sh [RUNS] [--against OTHER-VANTORIL-LST]   (default 5)
#   bench/cli_bench.sh --tiny      one run on 2,000 lines: proves the script
#                                  runs to its end (CI), measures nothing
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lines=1000000 apparent_lines=100000 runs=5 against=""
while [ $# -gt 0 ]; do
  case "$1" in
    --tiny) runs=1 lines=2000 apparent_lines=200 ;;
    --against) against="$2"; shift ;;
    *) runs="$1" ;;
  esac
  shift
done
# The model as computed without an IERS file found on this machine.
export VANTORIL_LST_EOP=none
# shellcheck source=SCRIPTDIR/../scripts/packages.sh
source "$root/scripts/packages.sh"
# shellcheck source=SCRIPTDIR/bench_lib.sh
source "$root/bench/bench_lib.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" python3-astropy python3-skyfield time

lst="$(built_lst "$root")"
python=/usr/bin/python3  # Debian's, which has python3-astropy
export BENCH_LOG="$root/build/bench/cli_bench.log"
: >"$BENCH_LOG"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
bench_outputs=("$work/out.txt" "$work/astropy-out.txt")
"$python" "$root/bench/cli_instants.py" "$lines" 20261208 --decimal >"$work/1m.txt"
head -n "$apparent_lines" "$work/1m.txt" >"$work/100k.txt"
"$python" "$root/bench/cli_astropy.py" prepare "$work/1m.txt" "$work/instants.npz"

lst_batch() { "$1" --batch "${@:3}" <"$2" >"$work/out.txt"; }
astropy() { "$python" "$root/bench/cli_astropy.py" run "$work/instants.npz" "$1" "$2" "$work/astropy-out.txt" >"$work/astropy.txt"; }

declare -A times
for ((r = 0; r < runs; r++)); do
  times[classic]+="$(wall lst_batch "$lst" "$work/1m.txt") "
  times[iau2006]+="$(wall lst_batch "$lst" "$work/1m.txt" --model iau2006) "
  times[apparent]+="$(wall lst_batch "$lst" "$work/100k.txt" --model iau2006 --apparent) "
  [ "$(wc -l <"$work/out.txt")" -eq "$apparent_lines" ] || { echo "vantoril-lst gave a wrong line count" >&2; exit 1; }
  if [ -n "$against" ]; then
    times[old_classic]+="$(wall lst_batch "$against" "$work/1m.txt") "
    times[old_iau2006]+="$(wall lst_batch "$against" "$work/1m.txt" --model iau2006) "
    times[old_apparent]+="$(wall lst_batch "$against" "$work/100k.txt" --model iau2006 --apparent) "
  fi
  times[astropy_mean]+="$(wall astropy mean "$lines") "
  read -r imp comp text <"$work/astropy.txt"
  times[astropy_mean_import]+="$imp " times[astropy_mean_compute]+="$comp " times[astropy_mean_text]+="$text "
  times[astropy_apparent]+="$(wall astropy apparent "$apparent_lines") "
  read -r imp comp text <"$work/astropy.txt"
  times[astropy_apparent_import]+="$imp " times[astropy_apparent_compute]+="$comp "
done

c=$(median classic) i=$(median iau2006) a=$(median apparent)
ami=$(median astropy_mean_import) amc=$(median astropy_mean_compute) amt=$(median astropy_mean_text)
aai=$(median astropy_apparent_import) aac=$(median astropy_apparent_compute)
echo "== vantoril-lst --batch against astropy $("$python" -c 'import astropy; print(astropy.__version__)'), medians of $runs runs"
awk -v n="$lines" -v c="$c" -v met="$(verdict "$(awk -v n="$lines" -v c="$c" 'BEGIN { print n / 1e6 / c }')" '>=' 15)" \
  'BEGIN { printf "classic, %d lines:          %6.3f s = %.2f million lines/s (target >= 15: %s)\n", n, c, n / 1e6 / c, met }'
awk -v n="$lines" -v i="$i" -v ai="$ami" -v ac="$amc" -v at="$amt" 'BEGIN {
  printf "iau2006 mean, %d lines:     %6.3f s; astropy %6.3f s with import (import %.3f s), %6.3f s without,\n", n, i, ai + ac, ai, ac
  printf "    %6.3f s with import and the text lines written\n", ai + ac + at
  printf "    ratio: %.1fx with import, %.1fx without, %.1fx with import and text\n", (ai + ac) / i, ac / i, (ai + ac + at) / i
}'
awk -v n="$apparent_lines" -v a="$a" -v ai="$aai" -v ac="$aac" 'BEGIN {
  printf "iau2006 apparent, %d lines: %6.3f s; astropy %6.3f s with import, %6.3f s without: %.1fx, %.1fx\n", n, a, ai + ac, ac, (ai + ac) / a, ac / a
  printf "    (a batch in random order over 200 years: the nutation series at each instant, as astropy)\n"
}'
if [ -n "$against" ]; then
  awk -v c="$c" -v i="$i" -v a="$a" -v oc="$(median old_classic)" -v oi="$(median old_iau2006)" -v oa="$(median old_apparent)" 'BEGIN {
    printf "against %s: classic %.3f s (now %.2fx), iau2006 mean %.3f s (%.2fx), apparent %.3f s (%.2fx)\n", "the other binary", oc, c / oc, oi, i / oi, oa, a / oa
  }'
fi
load_line

# Tables, zones and peak RSS; --transit and --eop (their own scripts).
"$root/bench/cli_table_bench.sh" "$runs" "$lst" "$lines" "$against"
"$root/bench/cli_transit_bench.sh" "$runs" "$lst" "$lines"
echo "the program's warnings of these runs: $BENCH_LOG ($(wc -l <"$BENCH_LOG") lines)"
