#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
#   ./test.sh             build in build/ and run the tests
#   ./test.sh --sanitize  build in build-sanitize/ with AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"

dir=build
flags=(-DQW_WERROR=ON -DQW_BUILD_SHELL=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags+=(-DQW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1
fi

tools/install-deps.sh
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
