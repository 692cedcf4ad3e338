#!/usr/bin/env bash
# Sets up the machine as the README's commands do, builds the release and
# makes the Debian package: build/packages/soakmark_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh release
rm -rf build/packages
cpack --preset deb
rm -rf build/packages/_CPack_Packages
ls build/packages/*.deb
