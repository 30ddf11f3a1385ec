#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Static analysis: the layers of the product (scripts/check-layers.py: no
# include up the tree or across it, no include cycle), clang-tidy (checks in
# .clang-tidy) and cppcheck over the project's own sources, clang-format (style in .clang-format) over every
# C++ file in git, and an SPDX licence line in every source file. Any finding
# fails the run.
#
# clang-tidy needs the real compile commands, so build/analysis is configured
# with clang and only Qt's generated moc files are built. Production code in
# runtime/ engine/ astro/ cli/ ui/ app/ gets the full check set; tests/ bench/ fuzz/ a
# lighter one (test fixtures and benchmark loops trip checks that are about
# shipped code). New folders' files are picked up from the compile database.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" \
  "${CLANG_PACKAGES[@]}" "clang-tidy-$CLANG_VERSION" cppcheck python3

jobs="$(nproc)"
build="$root/build/analysis"

cd "$root"  # the presets (CMakePresets.json) are found from the source folder
cmake --preset analysis -DCMAKE_CXX_COMPILER="clang++-$CLANG_VERSION" >/dev/null

# Generated sources the project's files include (moc output, resources).
mapfile -t generated < <(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_.+-]*_autogen\): phony$/\1/p')
if [ ${#generated[@]} -gt 0 ]; then
  cmake --build --preset analysis -j "$jobs" --target "${generated[@]}" >/dev/null
fi

# One entry per project source file: the fuzz build compiles runtime/ and
# engine/ a second time, and generated files are not ours.
python3 - "$root" "$build" <<'EOF'
import json, os, sys
root, build = sys.argv[1], sys.argv[2]
seen, kept = set(), []
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    if rel.startswith("..") or rel.startswith("build" + os.sep) or path in seen:
        continue
    seen.add(path)
    kept.append(entry)
os.makedirs(os.path.join(build, "tidy"), exist_ok=True)
json.dump(kept, open(os.path.join(build, "tidy", "compile_commands.json"), "w"), indent=1)
print(f"clang-tidy: {len(kept)} files")
EOF
db="$build/tidy"

status=0

# The layers, from the includes.
python3 "$root/scripts/check-layers.py" "$root" || status=1

# Full set for the program, lighter set for the code around it (there an
# optional is read after the test has asserted that it holds a value, which
# clang-tidy 19 does not follow through GoogleTest's macros). The lighter set
# has no path-sensitive analyzer: on the tests' expanded GoogleTest macros it
# took half of clang-tidy's time, and the tests and fuzz targets run under
# AddressSanitizer and UndefinedBehaviorSanitizer, which see those faults as
# they happen.
"run-clang-tidy-$CLANG_VERSION" -quiet -j "$jobs" -p "$db" "$root/(runtime|engine|astro|cli|ui|app)/" >"$build/tidy-main.log" 2>&1 || status=1
"run-clang-tidy-$CLANG_VERSION" -quiet -j "$jobs" -p "$db" \
  -checks='-bugprone-unchecked-optional-access,-cppcoreguidelines-pro-type-member-init,-bugprone-exception-escape,-bugprone-integer-division,-clang-analyzer-*,-performance-unnecessary-value-param,-readability-*,-misc-definitions-in-headers' \
  "$root/(tests|bench|fuzz)/" >"$build/tidy-rest.log" 2>&1 || status=1
if [ "$status" -ne 0 ]; then
  # The findings with their source lines, without colours and progress chatter.
  sed 's/\x1b\[[0-9;]*m//g' "$build/tidy-main.log" "$build/tidy-rest.log" |
    grep -vE '^(clang-tidy-[0-9]+ |[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter|[0-9]+ warnings? treated as errors)' || true
  echo "clang-tidy: findings (full logs in $build/tidy-*.log)"
else
  echo "clang-tidy: clean"
fi

# cppcheck on the project folders themselves; Qt and GoogleTest come from its
# library descriptions, not from their headers. cppcheck 2.17 (Debian 13)
# notes each file whose branches it analysed at its normal depth: a note, not
# a finding.
dirs=("$root"/{runtime,engine,astro,cli,ui,app,tests,bench,fuzz})
if cppcheck --quiet --error-exitcode=1 --inline-suppr -j "$jobs" --std=c++20 --language=c++ \
     --enable=warning,performance,portability --suppress=missingIncludeSystem \
     --suppress=normalCheckLevelMaxBranches \
     --library=qt --library=googletest -I "$root" --template=gcc \
     --cppcheck-build-dir="$(mkdir -p "$build/cppcheck" && echo "$build/cppcheck")" \
     "${dirs[@]}"; then
  echo "cppcheck: clean"
else
  echo "cppcheck: findings"
  status=1
fi

# The tree stays in the style .clang-format describes, in a form that
# clang-format 14 (Debian 12) and 19 (Debian 13) both leave as it is, so the
# verdict is the same on either release.
# The files git tracks; outside a checkout, every one below the source folder.
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find runtime engine astro cli ui app tests bench fuzz -name '*.cpp' -o -name '*.h')
if "clang-format-$CLANG_VERSION" --dry-run --Werror "${sources[@]}" 2>"$build/format.log"; then
  echo "clang-format: clean"
else
  grep -E '^[^ ].*: error:' "$build/format.log" | sed 's/:[0-9]*:[0-9]*: error: .*//' | sort -u |
    sed 's/^/clang-format: not formatted: /'
  echo "clang-format: findings (run clang-format-$CLANG_VERSION -i on the files above; full log in $build/format.log)"
  status=1
fi
# Every source file says its licence (LICENSE) in its first lines.
unlicensed=0
while IFS= read -r file; do
  if ! head -n 2 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
    echo "licence: no SPDX line in $file"
    unlicensed=1
  fi
done < <(git ls-files '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt' .ci/run | grep -v '/corpus/')
if [ "$unlicensed" -eq 0 ]; then echo "licence: every source file has its SPDX line"; else status=1; fi
exit "$status"
