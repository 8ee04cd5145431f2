#!/usr/bin/env bash
# Times `qwtool indent` as a whole process on 3 MB and on 30 MB of Basic code
# (16-bit limits lifted, as qwtool runs by default): ten times the input must
# take at most eleven times as long. The figure is the best of RUNS runs of
# each, in wall-clock seconds.
#
# usage: bench/indent_scaling.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
qwtool="$build/src/qwtool"
writer="$build/bench/bench_tools"
for f in "$qwtool" "$writer"; do
  [[ -x $f ]] || { echo "indent_scaling: $f is not built (cmake --build $build)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$writer" --write_basic="$work/small.bas:3000000"
"$writer" --write_basic="$work/large.bas:30000000"

# best_of FILE: the smallest wall time of $runs runs of qwtool indent FILE.
best_of() {
  local best=999 wall
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f '%e' "$qwtool" indent "$1" >/dev/null
    wall=$(cat "$work/time")
    best=$(awk -v w="$wall" -v b="$best" 'BEGIN { print (w < b ? w : b) }')
  done
  echo "$best"
}

small=$(best_of "$work/small.bas")
large=$(best_of "$work/large.bas")
printf 'qwtool indent  3 MB: %6.3f s\n' "$small"
printf 'qwtool indent 30 MB: %6.3f s\n' "$large"
echo "ratio (30 MB / 3 MB): $(awk -v a="$large" -v b="$small" 'BEGIN { printf "%.1f", a / b }')  (target <= 11)"
