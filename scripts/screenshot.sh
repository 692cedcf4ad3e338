#!/usr/bin/env bash
# Renders the screenshot of the window that the README shows: the real
# program under Xvfb, as it starts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh release
SOAKMARK_SHOTS="$PWD/docs" build/release/app/tests/x11_tests \
  --gtest_filter='RealProgram.StartsShowsItsWindowAndEndsWhenClosed'
echo "Wrote docs/soakmark.png"
