#!/usr/bin/env bash
# Builds with warnings as errors under AddressSanitizer and UndefinedBehaviorSanitizer (leaks
# included) and runs every test, core and GUI (offscreen); any sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

# The Debian package, as a step of its own: build it, unpack it and check it.
bash scripts/package-check.sh
