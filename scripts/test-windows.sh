#!/usr/bin/env bash
# Installs what is missing (the MinGW-w64 cross compiler and Wine among it), builds Zorby.exe and every
# suite for 64-bit Windows, and runs them under Wine: the end-to-end test drives Zorby.exe on Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 wine
cmake --preset windows
cmake --build --preset windows -j "$(nproc)"
ctest --preset windows
