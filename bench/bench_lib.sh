# SPDX-License-Identifier: MIT
# Shared by the command line's benchmark scripts (sourced, not run).

# Wall time of a command in seconds.
wall() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v n=$((end - start)) 'BEGIN { printf "%.3f\n", n / 1e9 }'
}

# The median of the times gathered in the associative array `times` under $1.
median() { tr ' ' '\n' <<<"${times[$1]}" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
