#!/usr/bin/env bash
# Installs what is missing and builds Trickvault into BUILD_DIR (default build/).
# Extra arguments go to CMake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja -DTKV_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
