#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# vantoril-lst --batch against astropy's vectorised sidereal_time on the same
# one million seeded instants (1900-2100, decimal longitudes):
#   classic and iau2006 mean on 1,000,000 lines, apparent on the first 100,000;
#   astropy mean (IAU2006) on 1,000,000 and apparent (IAU2006A) on 100,000,
#   with its import and without.
# vantoril-lst is timed end to end: reading the lines from a file on standard
# input, writing the results to a file. Prints the median of RUNS runs.
#
#   bench/cli_bench.sh [RUNS]      (default 5)
#   bench/cli_bench.sh --tiny      one run on 2,000 lines: proves the script
#                                  runs to its end (CI), measures nothing
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lines=1000000 apparent_lines=100000
if [ "${1:-}" = "--tiny" ]; then
  runs=1 lines=2000 apparent_lines=200
else
  runs="${1:-5}"
fi
# The model as computed without an IERS file found on this machine.
export VANTORIL_LST_EOP=none
# shellcheck source=SCRIPTDIR/../scripts/packages.sh
source "$root/scripts/packages.sh"
# shellcheck source=SCRIPTDIR/bench_lib.sh
source "$root/bench/bench_lib.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" python3-astropy python3-skyfield

lst="$(built_lst "$root")"
python=/usr/bin/python3  # Debian's, which has python3-astropy

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$python" "$root/bench/cli_instants.py" "$lines" 20261208 --decimal >"$work/1m.txt"
head -n "$apparent_lines" "$work/1m.txt" >"$work/100k.txt"
"$python" "$root/bench/cli_astropy.py" prepare "$work/1m.txt" "$work/instants.npz"

# Wall time of a command in seconds.
lst_batch() { "$lst" --batch "${@:2}" <"$1" >"$work/out.txt"; }
astropy() { "$python" "$root/bench/cli_astropy.py" run "$work/instants.npz" "$1" "$2" >"$work/astropy.txt"; }

declare -A times
for ((r = 0; r < runs; r++)); do
  times[classic]+="$(wall lst_batch "$work/1m.txt") "
  times[iau2006]+="$(wall lst_batch "$work/1m.txt" --model iau2006) "
  times[apparent]+="$(wall lst_batch "$work/100k.txt" --model iau2006 --apparent) "
  times[astropy_mean]+="$(wall astropy mean "$lines") "
  read -r imp comp <"$work/astropy.txt"
  times[astropy_mean_import]+="$imp "
  times[astropy_mean_compute]+="$comp "
  times[astropy_apparent]+="$(wall astropy apparent "$apparent_lines") "
  read -r imp comp <"$work/astropy.txt"
  times[astropy_apparent_compute]+="$comp "
done
[ "$(wc -l <"$work/out.txt")" -eq "$apparent_lines" ] || { echo "vantoril-lst gave a wrong line count" >&2; exit 1; }

classic=$(median classic) iau=$(median iau2006) apparent=$(median apparent)
am=$(median astropy_mean) amc=$(median astropy_mean_compute) ami=$(median astropy_mean_import)
aa=$(median astropy_apparent) aac=$(median astropy_apparent_compute)

echo "== vantoril-lst --batch against astropy $("$python" -c 'import astropy; print(astropy.__version__)'), medians of $runs runs"
awk -v n="$lines" -v na="$apparent_lines" -v c="$classic" -v i="$iau" -v a="$apparent" -v am="$am" -v amc="$amc" -v ami="$ami" -v aa="$aa" -v aac="$aac" 'BEGIN {
  printf "classic, %9d lines: %6.3f s  = %.2f million lines/s (target >= 5)\n", n, c, n / 1e6 / c
  printf "iau2006 mean, %9d:   %6.3f s; astropy %6.3f s with import (import %.3f s), %6.3f s without\n", n, i, am, ami, amc
  printf "    ratio: %.1fx with import (target >= 10), %.1fx without\n", am / i, amc / i
  printf "iau2006 apparent, %7d: %6.3f s; astropy %6.3f s with import, %6.3f s without\n", na, a, aa, aac
  printf "    ratio: %.1fx with import, %.1fx without (bound by the nutation series of ERFA; no target)\n", aa / a, aac / a
}'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# --transit and --eop against the plain batch (their own script).
"$root/bench/cli_transit_bench.sh" "$runs" "$lst" "$lines"
# Tables and time zones against the batch, astropy and skyfield (their own script).
"$root/bench/cli_table_bench.sh" "$runs" "$lst" "$lines"
