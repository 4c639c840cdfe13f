#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
# Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build; extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize; extra+=(-DVEQ_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DVEQ_BUILD_BENCH=OFF); shift
fi
[ -n "${CI:-}" ] && extra+=(-DVEQ_WERROR=ON)
cmake -S . -B "$dir" "${extra[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
