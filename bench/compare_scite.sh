#!/usr/bin/env bash
# Times the editor against SciTE on the same large module, each as a whole
# process launched with the file under a virtual X server, in one run:
#   quillwright --whole FILE   the whole text in the pane
#   scite FILE                 SciTE opening the same file
#   quillwright FILE           the module indexed, entry 0 shown
#   quillwright                the empty window, for the memory baseline
# "Launch to idle" is the CPU time (user + system) a process has used when it
# has shown its window and used no more CPU for IDLE_MS; the process is then
# killed. The figures are the best of RUNS runs; peak memory is the largest
# resident set (GNU time's %M) of that run. Installs Debian's scite,
# xvfb and x11-utils when they are missing.
#
# usage: bench/compare_scite.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
idle_ms=500
app="$build/src/quillwright"
writer="$build/bench/bench_document"
for f in "$app" "$writer"; do
  [[ -x $f ]] || { echo "compare_scite: $f is not built (cmake --build $build)" >&2; exit 1; }
done
missing=()
command -v scite >/dev/null || missing+=(scite)
command -v xvfb-run >/dev/null || missing+=(xvfb xauth)
command -v xprop >/dev/null || missing+=(x11-utils)
if ((${#missing[@]})); then
  echo "compare_scite: installing ${missing[*]}" >&2
  apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
module="$work/SYNTH.BAS"
"$writer" --write_module="$module"
size=$(stat -c %s "$module")
echo "module: $size bytes, $(wc -l <"$module") lines"

# One run under the X server already started: launch_to_idle TITLE_PART CMD... prints
# "CPU_SECONDS MAX_RSS_KB WINDOW_SECONDS" (window: launch until a window named with TITLE_PART).
cat >"$work/run_one.sh" <<'RUN'
#!/usr/bin/env bash
set -euo pipefail
title=$1 idle_ms=$2 out=$3
shift 3
rm -f "$out.pid" "$out.cpu"
start=$(date +%s.%N)
# GNU time gives the peak memory; the shell between it and the program gives
# its CPU time to the millisecond (`times`), where GNU time's is in 10 ms ticks.
/usr/bin/time -o "$out" -f '%M' bash -c '
  "$@" >/dev/null 2>&1 &
  echo $! >"$0.pid"
  wait $!
  times >"$0.cpu"' "$out" "$@" &
timer=$!
pid=""
while [[ -z $pid ]]; do pid=$(cat "$out.pid" 2>/dev/null || true); done
shown=""
deadline=$((SECONDS + 60))
while ((SECONDS < deadline)); do
  if xwininfo -root -tree 2>/dev/null | grep -qF "$title"; then
    shown=$(date +%s.%N)
    break
  fi
  sleep 0.005
done
[[ -n $shown ]] || { echo "no window for $title" >&2; kill "$pid"; exit 1; }
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
last=$(ticks) still=0
while ((still * 50 < idle_ms)); do
  sleep 0.05
  now=$(ticks)
  if [[ $now == "$last" ]]; then still=$((still + 1)); else still=0 last=$now; fi
done
kill -TERM "$pid"
wait "$timer" || true
rss=$(tail -n 1 "$out")
# The children's line of `times`: "0m0.123s 0m0.045s", user then system.
cpu=$(tail -n 1 "$out.cpu" | awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, p, "m"); t += p[1] * 60 + p[2] } print t }')
awk -v c="$cpu" -v m="$rss" -v a="$start" -v b="$shown" \
  'BEGIN { printf "%.3f %d %.3f\n", c, m, b - a }'
RUN
chmod +x "$work/run_one.sh"

# best_of TITLE CMD...: the run with the least CPU of RUNS. It runs inside the X server, in a
# script of its own (xvfb-run starts it through sh, which passes no shell functions on).
cat >"$work/best_of.sh" <<'BEST'
#!/usr/bin/env bash
set -euo pipefail
title=$1
shift
best=""
for ((i = 0; i < RUNS; i++)); do
  line=$("$WORK/run_one.sh" "$title" "$IDLE_MS" "$WORK/time" "$@") || continue
  cpu=${line%% *}
  if [[ -z $best ]] || awk -v a="$cpu" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
done
echo "$best"
BEST
chmod +x "$work/best_of.sh"

unset QT_QPA_PLATFORM
results=$(WORK=$work RUNS=$runs IDLE_MS=$idle_ms xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  b=$WORK/best_of.sh
  "$b" "QW: /" "$1" --whole "$2"
  "$b" "SYNTH.BAS" scite "$2"
  "$b" "QW: (declarations)" "$1" "$2"
  "$b" "Quillwright Editor" "$1"
' compare "$app" "$module")
if [[ $(grep -c . <<<"$results") -ne 4 ]]; then
  echo "compare_scite: a program gave no figures (no window within 60 s in any run)" >&2
  exit 1
fi
read -r w_cpu w_rss w_win <<<"$(sed -n 1p <<<"$results")"
read -r s_cpu s_rss s_win <<<"$(sed -n 2p <<<"$results")"
read -r i_cpu i_rss i_win <<<"$(sed -n 3p <<<"$results")"
read -r e_cpu e_rss e_win <<<"$(sed -n 4p <<<"$results")"

printf '%-28s %8s %10s %10s\n' "launch to idle" "cpu s" "window s" "peak MB"
row() { printf '%-28s %8.3f %10.3f %10.1f\n' "$1" "$2" "$3" "$(awk -v k="$4" 'BEGIN { print k / 1024 }')"; }
row "quillwright --whole FILE" "$w_cpu" "$w_win" "$w_rss"
row "scite FILE" "$s_cpu" "$s_win" "$s_rss"
row "quillwright FILE (indexed)" "$i_cpu" "$i_win" "$i_rss"
row "quillwright (empty)" "$e_cpu" "$e_win" "$e_rss"
awk -v w="$w_cpu" -v s="$s_cpu" -v i="$i_cpu" -v e="$e_cpu" -v wr="$w_rss" -v er="$e_rss" -v z="$size" 'BEGIN {
  printf "whole vs scite, cpu: %.2f (target <= 1)\n", w / s
  printf "open work, indexed vs whole (above the empty window): %.2f (target < 0.2)\n", (i - e) / (w - e)
  printf "whole open memory above the empty window: %.2f x the file (target < 1.5)\n", (wr - er) * 1024 / z
}'
