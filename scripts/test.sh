#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build, the Windows build
# (whose end-to-end test runs under Wine from the Linux test suite), and the
# Linux build again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test

cmake --preset default
cmake --build --preset default

bash scripts/build-windows.sh

ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan -LE wine
