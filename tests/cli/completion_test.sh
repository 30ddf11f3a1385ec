#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The shells' completions as a user meets them: bash's script sourced, the
# completion registered, and what it offers after each command line below,
# zone and place names asked of the program itself (the user's places file
# counts), and zsh's and fish's scripts as those shells read them.
#
#   completion_test.sh PATH/TO/vantoril-lst
set -u
lst="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config/vantoril-lst"
ln -s "$lst" "$work/bin/vantoril-lst"
printf 'My_Observatory 79d51mW America/Toronto\n' >"$work/config/vantoril-lst/places"
"$lst" --completion bash >"$work/vantoril-lst.bash" || { echo "no bash script"; exit 1; }
export PATH="$work/bin:/usr/bin:/bin" XDG_CONFIG_HOME="$work/config"
unset XDG_DATA_HOME
# shellcheck source=/dev/null
source "$work/vantoril-lst.bash"
complete -p vantoril-lst | grep -q -- '-F _vantoril_lst' || { echo "bash: not registered"; exit 1; }

failed=0
# The words typed (the last one being completed), then a word that must be offered.
while IFS='|' read -r typed wanted; do
  read -r -a COMP_WORDS <<<"$typed"
  [[ $typed == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vantoril_lst
  if ! printf '%s\n' "${COMPREPLY[@]}" | grep -qxF -- "$wanted"; then
    echo "bash: '$typed' does not offer '$wanted' (offers: ${COMPREPLY[*]:0:8})"
    failed=1
  fi
done <<'CASES'
vantoril-lst --tz Europe/Pa|Europe/Paris
vantoril-lst --tz = Europe/Pa|Europe/Paris
vantoril-lst --place Par|Paris
vantoril-lst --place My_|My_Observatory
vantoril-lst --model i|iau2006
vantoril-lst --format |csv
vantoril-lst --fold l|later
vantoril-lst --mo|--model
vantoril-lst --model iau2006 --tra|--transit
CASES
# zsh and fish as they read their scripts: zsh's _arguments stubbed to list
# the words it is given (each option must arrive whole, quotes and all), fish
# asked what it offers after a command line.
for shell in zsh fish; do
  command -v "$shell" >/dev/null || { echo "$shell: not installed"; failed=1; continue; }
  "$lst" --completion "$shell" >"$work/script.$shell"
done
offered() {
  case $1 in
    zsh) timeout 20 zsh -f -c '_arguments() { printf "%s\n" "$@"; }; source "$1"' zsh "$work/script.zsh" ;;
    fish) timeout 20 fish --no-config -c 'source $argv[1]; complete -C $argv[2]' "$work/script.fish" "$2" ;;
  esac 2>&1
}
while IFS='|' read -r shell typed wanted; do
  command -v "$shell" >/dev/null || continue
  # A whole line, or a name before fish's tab and description.
  if ! offered "$shell" "$typed" | awk -F '\t' -v w="$wanted" '$0 == w || $1 == w { found = 1 } END { exit !found }'; then
    echo "$shell: '$typed' does not offer '$wanted' (offers: $(offered "$shell" "$typed" | head -n 4 | tr '\n' ' '))"
    failed=1
  fi
done <<'CASES'
zsh||--from[a table's first instant]:value: 
zsh||--model[sidereal model]:value:(classic iau2006)
fish|vantoril-lst --fro|--from	a table's first instant
fish|vantoril-lst --tz Europe/Pa|Europe/Paris
fish|vantoril-lst --place My_|My_Observatory
CASES
[ "$failed" -eq 0 ] && echo "completions: bash, zsh and fish offer every name expected"
exit "$failed"
