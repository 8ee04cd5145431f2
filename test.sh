#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
#   ./test.sh             build in build/ and run the tests
#   ./test.sh --sanitize  build in build-sanitize/ with AddressSanitizer and UBSan
#   ./test.sh --fuzz [SECONDS]  build the fuzz targets with clang in build-fuzz/ and
#                         run each one SECONDS (default 60) from its seeds and the
#                         sample modules
set -euo pipefail
cd "$(dirname "$0")"

if [ "${1:-}" = "--fuzz" ]; then
  seconds="${2:-60}"
  tools/install-deps.sh
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQW_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j "$(nproc)"
  export ASAN_OPTIONS=detect_leaks=0
  failed=()
  for seeds in tests/fuzz/seeds/*/; do
    target=$(basename "$seeds")
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    echo "== fuzz_$target, $seconds s"
    "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="build-fuzz/fuzz_$target-" \
      "$corpus" "$seeds" tests/data/modules || failed+=("$target")
  done
  [ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that failed: ${failed[*]}" >&2; exit 1; }
  exit 0
fi

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
