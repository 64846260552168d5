#!/usr/bin/env bash
# Builds and runs every test: once in the normal build, once with AddressSanitizer and
# UndefinedBehaviorSanitizer, then every fuzz target for TKV_FUZZ_SECONDS (default 60) each. The
# tests labelled "desktop" (install, package, desktop integration) run once, after the first build.
# "--quick" runs the normal build's tests only.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
# A test that hangs fails on its own instead of holding up the whole run.
test_timeout=600

run_suite() {
  local dir="$1"; shift
  BUILD_DIR="$dir" "$root/scripts/build.sh" "$@"
  ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" --label-exclude desktop --timeout "$test_timeout"
}

echo "== tests"
run_suite "$root/build"
if [ "${1:-}" != "--quick" ]; then
  echo "== the installed program on the desktop"
  ctest --test-dir "$root/build" --output-on-failure --label-regex desktop --timeout "$test_timeout"
  echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite "$root/build-sanitize" -DTKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  echo "== fuzzing"
  "$root/scripts/fuzz.sh" "${TKV_FUZZ_SECONDS:-60}"
fi
