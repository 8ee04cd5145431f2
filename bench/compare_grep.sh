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
source "$(dirname "$0")/common.sh"
module="$work/SYNTH.BAS"
"$writer" --write_module="$module"
echo "module: $(stat -c %s "$module") bytes"

# median CMD...: the median wall time of $runs runs, in milliseconds.
median() { read -r wall _ <<<"$(measure "$@")"; echo "$wall"; }

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
