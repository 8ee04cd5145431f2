#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target quillwright qwtool -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: use the command-line tool instead, e.g. build/src/qwtool list MODULE.BAS (build/src/qwtool --help)."
  exit 0
fi
exec build/src/quillwright "$@"
