#!/usr/bin/env bash
# Smoke test of the real editor: starts quillwright under a virtual X server,
# opens nothing, and checks that a window captioned "Quillwright Editor"
# appears. Exits 77 (skipped) when the X tools it needs are missing.
set -euo pipefail

app=${1:?usage: smoke_xvfb.sh <path of quillwright>}
for tool in xvfb-run xprop; do
  command -v "$tool" >/dev/null || { echo "smoke_xvfb: $tool not installed, skipped"; exit 77; }
done

# The test environment may ask for the offscreen platform; this test wants X.
unset QT_QPA_PLATFORM

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  app=$1
  "$app" &
  pid=$!
  trap "kill $pid 2>/dev/null; wait $pid 2>/dev/null" EXIT
  for _ in $(seq 1 150); do
    if xprop -name "Quillwright Editor" WM_NAME 2>/dev/null |
        grep -qx "WM_NAME([A-Z_0-9]*) = \"Quillwright Editor\""; then
      echo "smoke_xvfb: window captioned \"Quillwright Editor\" is up"
      exit 0
    fi
    kill -0 "$pid" 2>/dev/null || { echo "smoke_xvfb: quillwright exited early" >&2; exit 1; }
    sleep 0.1
  done
  echo "smoke_xvfb: no window captioned \"Quillwright Editor\" within 15 s" >&2
  exit 1
' smoke "$app"
