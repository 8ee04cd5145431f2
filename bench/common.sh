# What the comparison scripts share; sourced, never run. Before sourcing, a
# script sets `build` (its build folder) and `runs` (hyperfine runs a figure).
# After it: `qwtool` and `writer` name the built programs, `work` is a
# temporary folder removed on exit, hyperfine is installed from Debian when
# missing, and `measure`, `in_turn`, `line`, `ratio` and `need_ctags` are defined.

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

# in_turn CMDLINE...: prints "WALL CPU" (milliseconds) for each command line
# (quoted as for a shell, see `line`), timed by hyperfine as `measure` times
# one command, but in four rounds of a quarter of $runs each, the commands
# taking turns: a change in the machine's load falls on all of them alike. The
# figures: the median of the rounds' median wall times, and the mean CPU time.
in_turn() {
  local per=$(((runs + 3) / 4)) r i
  local -a rows=()
  for ((r = 0; r < 4; r++)); do
    for ((i = 1; i <= $#; i++)); do
      hyperfine -N -i --output=pipe --warmup 1 --runs "$per" --export-json "$work/t.json" \
        -- "${!i}" >/dev/null 2>&1
      rows[i]+=$(python3 -c 'import json,sys; r = json.load(open(sys.argv[1]))["results"][0]; \
print("%.3f %.3f" % (r["median"] * 1e3, (r["user"] + r["system"]) * 1e3))' "$work/t.json")$'\n'
    done
  done
  for ((i = 1; i <= $#; i++)); do
    printf '%s' "${rows[i]}" | python3 -c 'import statistics,sys; \
w, c = zip(*(map(float, l.split()) for l in sys.stdin if l.strip())); \
print("%.2f %.2f" % (statistics.median(w), statistics.mean(c)))'
  done
}

# line CMD...: the command as one line for a shell.
line() { printf '%q ' "$@"; }

# ratio A B: A / B to two places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "inf" }'; }
