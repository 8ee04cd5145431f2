# What the comparison scripts share; sourced, never run. Before sourcing, a
# script sets `build` (its build folder) and `runs` (hyperfine runs a figure).
# After it: `qwtool` and `writer` name the built programs, `work` is a
# temporary folder removed on exit, hyperfine is installed from Debian when
# missing, and `measure`, `ratio` and `need_ctags` are defined.

me=$(basename "$0" .sh)
qwtool="$build/src/qwtool"
writer="$build/bench/bench_document"
for f in "$qwtool" "$writer"; do
  [[ -x $f ]] || { echo "$me: $f is not built (cmake --build $build)" >&2; exit 1; }
done
if ! command -v hyperfine >/dev/null; then
  echo "$me: installing hyperfine" >&2
  apt-get install -y hyperfine >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# need_ctags: installs Debian's universal-ctags when no universal ctags is there.
need_ctags() {
  if ! command -v ctags >/dev/null || ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
    echo "$me: installing universal-ctags" >&2
    apt-get install -y universal-ctags >/dev/null
  fi
}

# measure CMD...: prints "WALL CPU" (milliseconds): the median wall time and
# the mean user+system CPU time of $runs runs, timed by hyperfine (the exit
# status is ignored: grep exits 1 when it finds nothing). The command writes
# into a pipe that is read and thrown away: GNU grep stops at its first match
# when its output is /dev/null.
measure() {
  hyperfine -N -i --output=pipe --warmup 2 --runs "$runs" --export-json "$work/t.json" \
    -- "$(printf '%q ' "$@")" >/dev/null 2>&1
  python3 -c 'import json,sys; r = json.load(open(sys.argv[1]))["results"][0]; \
print("%.2f %.2f" % (r["median"] * 1e3, (r["user"] + r["system"]) * 1e3))' "$work/t.json"
}

# ratio A B: A / B to two places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "inf" }'; }
