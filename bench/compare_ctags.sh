#!/usr/bin/env bash
# Times `qwtool list` against `wc -l` and universal-ctags on the same module,
# each as a whole process, on the synthetic 9 MB module of 60,000 procedures
# and on 9 MB of real-looking modules one after the other (comments, strings,
# forms, classes, long lines). Installs Debian's universal-ctags when it is
# missing. Each figure is the best of RUNS runs (wall clock, and user+system
# CPU time); the targets: qwtool at most 2 x wc -l, ctags at least 10 x qwtool.
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

if ! command -v ctags >/dev/null || ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
  echo "compare_ctags: installing universal-ctags" >&2
  apt-get install -y universal-ctags >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$writer" --write_module="$work/SYNTH.BAS"
"$writer" --write_realistic="$work/REAL.BAS:9000000"

# best_of CMD...: prints "WALL CPU" (seconds), the smallest of $runs runs each.
best_of() {
  local best_wall=999 best_cpu=999 wall user sys
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1
    read -r wall user sys <"$work/time"
    read -r best_wall best_cpu <<<"$(awk -v w="$wall" -v u="$user" -v s="$sys" \
      -v bw="$best_wall" -v bc="$best_cpu" \
      'BEGIN { c = u + s; print (w < bw ? w : bw), (c < bc ? c : bc) }')"
  done
  echo "$best_wall $best_cpu"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "inf" }'; }

for module in "$work/SYNTH.BAS" "$work/REAL.BAS"; do
  echo "$(basename "$module"): $(stat -c %s "$module") bytes, $("$qwtool" list "$module" | wc -l) entries"
  # ctags knows .bas only in lower case: the language is named.
  read -r q_wall q_cpu <<<"$(best_of "$qwtool" list "$module")"
  read -r w_wall w_cpu <<<"$(best_of wc -l "$module")"
  read -r c_wall c_cpu <<<"$(best_of ctags --language-force=Basic -f /dev/null "$module")"
  printf '  qwtool list: %6.3f s wall  %6.3f s cpu\n' "$q_wall" "$q_cpu"
  printf '  wc -l:       %6.3f s wall  %6.3f s cpu\n' "$w_wall" "$w_cpu"
  printf '  ctags:       %6.3f s wall  %6.3f s cpu\n' "$c_wall" "$c_cpu"
  echo "  qwtool / wc -l: wall $(ratio "$q_wall" "$w_wall")  cpu $(ratio "$q_cpu" "$w_cpu")  (target <= 2)"
  echo "  ctags / qwtool: wall $(ratio "$c_wall" "$q_wall")  cpu $(ratio "$c_cpu" "$q_cpu")  (target >= 10)"
done
