# SPDX-License-Identifier: MIT
# Shared by the command line's benchmark scripts (sourced, not run).

# Wall time of a command in seconds. Its standard error goes to $BENCH_LOG
# (the warnings a run may give, once per run, are not figures). The files in
# the array bench_outputs are deleted first, untimed: every run writes its
# output anew, and freeing the last run's 33 MB when the next truncates it
# took the file system 7 to 17 ms, which is no command's time.
wall() {
  local start end
  if [ -n "${bench_outputs+set}" ]; then rm -f "${bench_outputs[@]}"; fi
  start=$(date +%s%N)
  "$@" 2>>"${BENCH_LOG:-/dev/null}"
  end=$(date +%s%N)
  awk -v n=$((end - start)) 'BEGIN { printf "%.3f\n", n / 1e9 }'
}

# The median of the times gathered in the associative array `times` under $1.
median() { tr ' ' '\n' <<<"${times[$1]}" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# "met" or "NOT met": whether VALUE is OP (<= or >=) TARGET.
verdict() {
  awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN { ok = (op == "<=") ? v <= t : v >= t; print ok ? "met" : "NOT met" }'
}

# Builds vantoril-lst for measuring (Release, in build/bench) and prints its path.
built_lst() {
  local build="$1/build/bench"
  cmake -S "$1" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTORIL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" --target vantoril-lst >/dev/null
  echo "$build/cli/vantoril-lst"
}

# The machine's load, printed with every set of figures.
load_line() { echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"; }
