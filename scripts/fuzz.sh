#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each: its seed corpus and regression cases, then SECONDS of new
# inputs (default 60). Any finding fails the run and is kept in build-fuzz/fuzz-findings/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTKV_FUZZ=ON -DTKV_BUILD_TESTS=OFF \
  -DTKV_BUILD_BENCHMARKS=OFF -DTKV_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target fuzz_all
ctest --test-dir "$build_dir" -L fuzz --output-on-failure --parallel "$(nproc)"
