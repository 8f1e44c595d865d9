#!/usr/bin/env bash
# Builds the engine and file services with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# their tests. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset sanitize
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j "$(nproc)"
