#!/usr/bin/env bash
# Runs one fuzz target: every input of the corpus, the seeds and the regression cases, then new
# inputs for SECONDS. Inputs that find something are kept in FINDINGS.
#   run_target.sh TARGET SECONDS CORPUS SEEDS REGRESSIONS FINDINGS
set -euo pipefail
target="$1" seconds="$2" corpus="$3" seeds="$4" regressions="$5" findings="$6"
mkdir -p "$corpus" "$findings"
dirs=("$corpus" "$seeds")
[ -d "$regressions" ] && dirs+=("$regressions")
# Targets write their inputs to files: on tmpfs, fsync costs nothing.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# -rss_limit_mb: a reader must never need more than the 64 MiB block cap and its copies.
exec "$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=131072 \
  -print_final_stats=1 -artifact_prefix="$findings/" "${dirs[@]}"
