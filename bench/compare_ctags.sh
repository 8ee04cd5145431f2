#!/usr/bin/env bash
# Times `qwtool list` against `wc -l` and universal-ctags on the same module,
# each as a whole process, on the synthetic 9 MB module of 60,000 procedures
# and on 9 MB of real-looking modules one after the other (comments, strings,
# forms, classes, long lines). Installs Debian's universal-ctags when it is
# missing. Each figure is timed by hyperfine over RUNS runs (median wall
# clock, mean user+system CPU time); the targets: qwtool at most 2 x wc -l,
# ctags at least 10 x qwtool.
#
# usage: bench/compare_ctags.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-10}
qwtool="$build/src/qwtool"
writer="$build/bench/bench_document"
for f in "$qwtool" "$writer"; do
  [[ -x $f ]] || { echo "compare_ctags: $f is not built (cmake --build $build)" >&2; exit 1; }
done

if ! command -v hyperfine >/dev/null; then
  echo "$(basename "$0"): installing hyperfine" >&2
  apt-get install -y hyperfine >/dev/null
fi
if ! command -v ctags >/dev/null || ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
  echo "compare_ctags: installing universal-ctags" >&2
  apt-get install -y universal-ctags >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$writer" --write_module="$work/SYNTH.BAS"
"$writer" --write_realistic="$work/REAL.BAS:9000000"

# measure CMD...: prints "WALL CPU" (milliseconds): the median wall time and
# the mean user+system CPU time of $runs runs, timed by hyperfine.
measure() {
  hyperfine -N -i --warmup 2 --runs "$runs" --export-json "$work/t.json" -- "$(printf '%q ' "$@")" \
    >/dev/null 2>&1
  python3 -c 'import json,sys; r = json.load(open(sys.argv[1]))["results"][0]; \
print("%.2f %.2f" % (r["median"] * 1e3, (r["user"] + r["system"]) * 1e3))' "$work/t.json"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "inf" }'; }

for module in "$work/SYNTH.BAS" "$work/REAL.BAS"; do
  echo "$(basename "$module"): $(stat -c %s "$module") bytes, $("$qwtool" list "$module" | wc -l) entries"
  # ctags knows .bas only in lower case: the language is named.
  read -r q_wall q_cpu <<<"$(measure "$qwtool" list "$module")"
  read -r w_wall w_cpu <<<"$(measure wc -l "$module")"
  read -r c_wall c_cpu <<<"$(measure ctags --language-force=Basic -f /dev/null "$module")"
  printf '  qwtool list: %8.2f ms wall  %8.2f ms cpu\n' "$q_wall" "$q_cpu"
  printf '  wc -l:       %8.2f ms wall  %8.2f ms cpu\n' "$w_wall" "$w_cpu"
  printf '  ctags:       %8.2f ms wall  %8.2f ms cpu\n' "$c_wall" "$c_cpu"
  echo "  qwtool / wc -l: wall $(ratio "$q_wall" "$w_wall")  cpu $(ratio "$q_cpu" "$w_cpu")  (target <= 2)"
  echo "  ctags / qwtool: wall $(ratio "$c_wall" "$q_wall")  cpu $(ratio "$c_cpu" "$q_cpu")  (target >= 10)"
done
