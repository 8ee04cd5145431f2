#!/usr/bin/env bash
# Times `qwtool list` against `wc -l` and universal-ctags on the same module,
# each as a whole process, on the synthetic 9 MB module of 60,000 procedures
# and on 9 MB of real-looking modules one after the other (comments, strings,
# forms, classes, long lines). Installs Debian's universal-ctags when it is
# missing. Each figure is timed by hyperfine over RUNS runs, the three
# programs taking turns in four rounds (median wall clock, mean user+system
# CPU time); the targets: qwtool at most 2 x wc -l, ctags at least 10 x qwtool.
#
# usage: bench/compare_ctags.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-10}
source "$(dirname "$0")/common.sh"
need_ctags
"$writer" --write_module="$work/SYNTH.BAS"
"$writer" --write_realistic="$work/REAL.BAS:9000000"

for module in "$work/SYNTH.BAS" "$work/REAL.BAS"; do
  echo "$(basename "$module"): $(stat -c %s "$module") bytes, $("$qwtool" list "$module" | wc -l) entries"
  # ctags knows .bas only in lower case: the language is named.
  mapfile -t timed < <(in_turn "$(line "$qwtool" list "$module")" "$(line wc -l "$module")" \
    "$(line ctags --language-force=Basic -f /dev/null "$module")")
  read -r q_wall q_cpu <<<"${timed[0]}"
  read -r w_wall w_cpu <<<"${timed[1]}"
  read -r c_wall c_cpu <<<"${timed[2]}"
  printf '  qwtool list: %8.2f ms wall  %8.2f ms cpu\n' "$q_wall" "$q_cpu"
  printf '  wc -l:       %8.2f ms wall  %8.2f ms cpu\n' "$w_wall" "$w_cpu"
  printf '  ctags:       %8.2f ms wall  %8.2f ms cpu\n' "$c_wall" "$c_cpu"
  echo "  qwtool / wc -l: wall $(ratio "$q_wall" "$w_wall")  cpu $(ratio "$q_cpu" "$w_cpu")  (target <= 2)"
  echo "  ctags / qwtool: wall $(ratio "$c_wall" "$q_wall")  cpu $(ratio "$c_cpu" "$q_cpu")  (target >= 10)"
done
