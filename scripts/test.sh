#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
# --sanitize runs the same suite built with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh "$@"
dir=build; [ "${1:-}" = "--sanitize" ] && dir=build-sanitize
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
