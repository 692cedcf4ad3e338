#!/usr/bin/env bash
# Installs what Soakmark needs from Debian 12's packages, if anything is
# missing, and generates a locale with a comma decimal separator for the tests.
# Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config valgrind
  libboost-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libx11-dev
  # the accessibility tests switch on Qt's platform accessibility, as a screen reader does
  qt6-base-private-dev
  # fonts that stand in for the design's fonts, metric-compatible where it counts
  fonts-liberation fontconfig
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the calculations on a second processor: AArch64, cross-built, run under qemu-user
  g++-aarch64-linux-gnu qemu-user googletest
  # the package, the menu entry, the metainfo, the icons and the man page
  dpkg-dev file lintian desktop-file-utils appstream librsvg2-bin man-db
  # tests of the real program in an X server
  xvfb xdotool x11-utils xauth xclip
  # the screen reader's view (AT-SPI on a D-Bus session) and a dark GTK desktop
  dbus at-spi2-core python3-pyatspi qt6-gtk-platformtheme
  # a comma locale for the number tests
  locales
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the de_DE.UTF-8 locale"
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
