#!/usr/bin/env bash
# Builds Trickvault when needed and starts it with the given arguments.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" >&2
exec "$root/build/bin/trickvault" "$@"
