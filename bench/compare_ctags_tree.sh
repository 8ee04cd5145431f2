#!/usr/bin/env bash
# Times `qwtool list -r` (one process, every core) against `ctags -R` on a
# generated tree of COUNT real-looking modules, forms and classes (.bas, .cls,
# .frm in several letter cases, about 36 KB each, in folders of 100). ctags is
# told to read all three kinds as Basic. Installs Debian's universal-ctags when
# it is missing. Each figure is timed by hyperfine over RUNS runs (median
# wall clock, mean user+system CPU time); the target: ctags -R at least 5 x
# qwtool list -r.
#
# usage: bench/compare_ctags_tree.sh [BUILD_DIR] [COUNT] [RUNS]
set -euo pipefail

build=${1:-build}
count=${2:-3000}
runs=${3:-5}
qwtool="$build/src/qwtool"
writer="$build/bench/bench_document"
for f in "$qwtool" "$writer"; do
  [[ -x $f ]] || { echo "compare_ctags_tree: $f is not built (cmake --build $build)" >&2; exit 1; }
done

if ! command -v hyperfine >/dev/null; then
  echo "$(basename "$0"): installing hyperfine" >&2
  apt-get install -y hyperfine >/dev/null
fi
if ! command -v ctags >/dev/null || ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
  echo "compare_ctags_tree: installing universal-ctags" >&2
  apt-get install -y universal-ctags >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$writer" --write_tree="$work/tree:$count"
langmap='Basic:.bas.BAS.cls.CLS.Cls.frm.FRM'
echo "tree: $count files, $(du -sb "$work/tree" | cut -f1) bytes," \
  "$("$qwtool" list -r "$work/tree" | wc -l) entries," \
  "$(ctags -R --langmap="$langmap" -f - "$work/tree" 2>/dev/null | wc -l) ctags tags"

# measure CMD...: prints "WALL CPU" (milliseconds): the median wall time and
# the mean user+system CPU time of $runs runs, timed by hyperfine.
measure() {
  hyperfine -N -i --warmup 2 --runs "$runs" --export-json "$work/t.json" -- "$(printf '%q ' "$@")" \
    >/dev/null 2>&1
  python3 -c 'import json,sys; r = json.load(open(sys.argv[1]))["results"][0]; \
print("%.2f %.2f" % (r["median"] * 1e3, (r["user"] + r["system"]) * 1e3))' "$work/t.json"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "inf" }'; }

read -r q_wall q_cpu <<<"$(measure "$qwtool" list -r "$work/tree")"
read -r c_wall c_cpu <<<"$(measure ctags -R --langmap="$langmap" -f /dev/null "$work/tree")"
printf 'qwtool list -r: %8.2f ms wall  %8.2f ms cpu\n' "$q_wall" "$q_cpu"
printf 'ctags -R:       %8.2f ms wall  %8.2f ms cpu\n' "$c_wall" "$c_cpu"
echo "ratio (ctags / qwtool): wall $(ratio "$c_wall" "$q_wall")  cpu $(ratio "$c_cpu" "$q_cpu")  (target >= 5)"
