#!/usr/bin/env bash
# Times `qwtool find` against `grep -n` finding the same text in the same
# synthetic 9 MB module of 60,000 procedures, each as a whole process: a rare
# name and a common text, letter case ignored (`grep -n -i -F`) and matched
# (`grep -n -F`). qwtool indexes the module as well and reports each hit by
# entry and line within it. The figure is the ratio of RUNS runs
# of each, the four commands taking turns in four rounds (median wall clock
# time, measured with hyperfine, installed from Debian when missing); the
# target is qwtool faster than grep, a ratio above 1.
#
# usage: bench/compare_grep.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-10}
source "$(dirname "$0")/common.sh"
module="$work/SYNTH.BAS"
"$writer" --write_module="$module"
echo "module: $(stat -c %s "$module") bytes"

# LC_ALL=C: grep compares bytes, as qwtool does.
export LC_ALL=C
for text in Calc41235 "Static hits"; do
  lines="qwtool $("$qwtool" find "$module" "$text" | wc -l) lines, grep $(grep -n -i -F -- "$text" "$module" | wc -l)"
  mapfile -t timed < <(in_turn "$(line "$qwtool" find "$module" "$text")" \
    "$(line grep -n -i -F -- "$text" "$module")" \
    "$(line "$qwtool" find --match-case "$module" "$text")" \
    "$(line grep -n -F -- "$text" "$module")")
  q=${timed[0]%% *} g=${timed[1]%% *} qc=${timed[2]%% *} gc=${timed[3]%% *}
  echo "'$text' ($lines)"
  echo "  case ignored: qwtool find $q ms, grep -n -i -F $g ms, ratio $(ratio "$g" "$q")"
  echo "  case matched: qwtool find --match-case $qc ms, grep -n -F $gc ms, ratio $(ratio "$gc" "$qc")"
done
echo "(median wall time of $runs runs each, taken in turn; ratio = grep / qwtool, target > 1)"
