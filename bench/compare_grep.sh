#!/usr/bin/env bash
# Times `qwtool find` against `grep -n` finding the same text in the same
# synthetic 9 MB module of 60,000 procedures, each as a whole process: a rare
# name and a common text, letter case ignored (`grep -n -i -F`) and matched
# (`grep -n -F`). qwtool indexes the module as well and reports each hit by
# entry and line within it. The figure is the ratio of RUNS runs
# of each (median wall clock time, measured with hyperfine, installed from
# Debian when missing); the target is qwtool faster than grep, a ratio above 1.
#
# usage: bench/compare_grep.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-10}
qwtool="$build/src/qwtool"
writer="$build/bench/bench_document"
for f in "$qwtool" "$writer"; do
  [[ -x $f ]] || { echo "compare_grep: $f is not built (cmake --build $build)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
module="$work/SYNTH.BAS"
"$writer" --write_module="$module"
echo "module: $(stat -c %s "$module") bytes"

if ! command -v hyperfine >/dev/null; then
  echo "compare_grep: installing hyperfine" >&2
  apt-get install -y hyperfine >/dev/null
fi

# median CMD...: the median wall time of $runs runs, in milliseconds (the
# exit status is ignored: grep exits 1 when it finds nothing).
median() {
  hyperfine -N -i --warmup 3 --runs "$runs" --export-json "$work/t.json" -- "$(printf '%q ' "$@")" \
    >/dev/null 2>&1
  python3 -c 'import json,sys; print("%.2f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1e3))' \
    "$work/t.json"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "inf" }'; }

# LC_ALL=C: grep compares bytes, as qwtool does.
export LC_ALL=C
for text in Calc41235 "Static hits"; do
  lines="qwtool $("$qwtool" find "$module" "$text" | wc -l) lines, grep $(grep -n -i -F -- "$text" "$module" | wc -l)"
  q=$(median "$qwtool" find "$module" "$text")
  g=$(median grep -n -i -F -- "$text" "$module")
  qc=$(median "$qwtool" find --match-case "$module" "$text")
  gc=$(median grep -n -F -- "$text" "$module")
  echo "'$text' ($lines)"
  echo "  case ignored: qwtool find $q ms, grep -n -i -F $g ms, ratio $(ratio "$g" "$q")"
  echo "  case matched: qwtool find --match-case $qc ms, grep -n -F $gc ms, ratio $(ratio "$gc" "$qc")"
done
echo "(median wall time of $runs runs each; ratio = grep / qwtool, target > 1)"
