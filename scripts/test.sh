#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs the whole
# test suite: the program's tests, the package with the desktop's own tools,
# the whole program and its tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the calculations on AArch64 under qemu-user, and
# a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== Program and tests"
bash scripts/build.sh release
ctest --preset release

echo "== The Debian package: lintian, menu entry, metainfo, icons, man page; install, start, remove"
bash scripts/package.sh
bash tests/package_test.sh

echo "== The whole program and its tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh sanitize
ctest --preset sanitize

echo "== Calculations on AArch64 (cross-built, under qemu-user), where long double is not the 80-bit format"
bash scripts/build.sh aarch64
ctest --preset aarch64 -j2

echo "== Fuzzing the number rules"
bash scripts/build.sh fuzz
bash scripts/fuzz.sh "${SOAKMARK_FUZZ_SECONDS:-60}"
