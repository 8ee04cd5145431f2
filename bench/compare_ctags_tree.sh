#!/usr/bin/env bash
# Times `qwtool list -r` (one process, every core) against `ctags -R` on a
# generated tree of COUNT real-looking modules, forms and classes (.bas, .cls,
# .frm in several letter cases, about 36 KB each, in folders of 100). ctags is
# told to read all three kinds as Basic. Installs Debian's universal-ctags when
# it is missing. Each figure is timed by hyperfine over RUNS runs, the two
# programs taking turns in four rounds (median wall clock, mean user+system
# CPU time); the target: ctags -R at least 5 x qwtool list -r.
#
# usage: bench/compare_ctags_tree.sh [BUILD_DIR] [COUNT] [RUNS]
set -euo pipefail

build=${1:-build}
count=${2:-3000}
runs=${3:-5}
source "$(dirname "$0")/common.sh"
need_ctags
"$writer" --write_tree="$work/tree:$count"
langmap='Basic:.bas.BAS.cls.CLS.Cls.frm.FRM'
echo "tree: $count files, $(du -sb "$work/tree" | cut -f1) bytes," \
  "$("$qwtool" list -r "$work/tree" | wc -l) entries," \
  "$(ctags -R --langmap="$langmap" -f - "$work/tree" 2>/dev/null | wc -l) ctags tags"

mapfile -t timed < <(in_turn "$(line "$qwtool" list -r "$work/tree")" \
  "$(line ctags -R --langmap="$langmap" -f /dev/null "$work/tree")")
read -r q_wall q_cpu <<<"${timed[0]}"
read -r c_wall c_cpu <<<"${timed[1]}"
printf 'qwtool list -r: %8.2f ms wall  %8.2f ms cpu\n' "$q_wall" "$q_cpu"
printf 'ctags -R:       %8.2f ms wall  %8.2f ms cpu\n' "$c_wall" "$c_cpu"
echo "ratio (ctags / qwtool): wall $(ratio "$c_wall" "$q_wall")  cpu $(ratio "$c_cpu" "$q_cpu")  (target >= 5)"
