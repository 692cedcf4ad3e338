#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs the whole
# test suite: the program's tests, the package with the desktop's own tools,
# the calculations under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== Program and tests"
bash scripts/build.sh release
ctest --preset release

echo "== The Debian package: lintian, menu entry, metainfo, icons, man page; install, start, remove"
bash scripts/package.sh
bash tests/package_test.sh

echo "== Calculations under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh sanitize
ctest --preset sanitize

echo "== Fuzzing the number rules"
bash scripts/build.sh fuzz
bash scripts/fuzz.sh "${SOAKMARK_FUZZ_SECONDS:-60}"
