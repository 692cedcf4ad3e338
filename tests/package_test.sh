#!/usr/bin/env bash
# Judges what Soakmark ships with the desktop's own tools, then installs the
# Debian package, starts the installed program from its menu entry in a real X
# server, and removes the package again, checking that nothing of it is left.
# Also installs with `cmake --install` into a home directory's ~/.local.
# Needs root (or sudo) for the package's installation; run by scripts/test.sh
# after scripts/package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=org.soakmark.Soakmark
version=$(sed -n 's/^project(Soakmark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- The package and what it holds -------------------------------------------
mapfile -t debs < <(find build/packages -maxdepth 1 -name '*.deb' | sort)
arch=$(dpkg --print-architecture)
if [ "${#debs[@]}" -eq 1 ] && [ "${debs[0]}" = "build/packages/soakmark_${version}_${arch}.deb" ]; then
  pass "exactly one package, soakmark_${version}_${arch}.deb"
else
  fail "expected build/packages/soakmark_${version}_${arch}.deb alone, found: ${debs[*]:-nothing}"
  exit 1
fi
deb=${debs[0]}

if lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
  pass "lintian reports no error and no warning"
else
  cat "$work/lintian"; fail "lintian"
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Version)" = "$version" ] && pass "version $version" || fail "version $(field Version)"
for f in Maintainer Section Description; do
  [ -n "$(field "$f")" ] && pass "$f is filled in" || fail "$f is empty"
done
field Depends | grep -q 'libqt6widgets6' && pass "dependencies from the linked libraries" \
  || fail "Depends lacks the Qt libraries: $(field Depends)"

root=$work/root
dpkg-deb -x "$deb" "$root"
expected=(
  usr/bin/soakmark
  usr/share/applications/$app_id.desktop
  usr/share/metainfo/$app_id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$app_id.svg
  usr/share/man/man1/soakmark.1.gz
  usr/share/doc/soakmark/copyright
  usr/share/doc/soakmark/changelog.gz
)
sizes=(16 24 32 48 64 128 256 512)
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$app_id.png"); done
for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "the package lacks /$f"; done
extra=$(cd "$root" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(printf '%s\n' "${expected[@]}" | sort))
[ -z "$extra" ] && pass "the package installs the expected files and no others" || fail "unexpected files: $extra"

file "$root/usr/bin/soakmark" | grep -q ', stripped' && pass "the program is stripped" || fail "program not stripped"

# The menu entry: no error, warning or hint.
desktop=$root/usr/share/applications/$app_id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] && pass "desktop-file-validate: clean" \
  || fail "desktop-file-validate: $out"
for key in 'Exec=/usr/bin/soakmark' 'TryExec=/usr/bin/soakmark' "Icon=$app_id" 'StartupWMClass=Soakmark'; do
  grep -qx "$key" "$desktop" || fail "the menu entry lacks $key"
done
for word in irrigation drip emitter water soil; do
  grep '^Keywords=' "$desktop" | tr ';=' '\n\n' | grep -qx "$word" || fail "Keywords lack $word"
done

# The metainfo: no error and no warning.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if appstreamcli validate --no-net "$metainfo" >"$work/as" 2>&1 && ! grep -qE '^(E|W):' "$work/as"; then
  pass "appstreamcli validate: no error, no warning"
else
  cat "$work/as"; fail "appstreamcli validate"
fi
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks the $version release"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
  || fail "metainfo's launchable does not name the menu entry"

# The icons: each PNG has the size of its directory.
for s in "${sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${s}x${s}/apps/$app_id.png
  file "$png" | grep -q "PNG image data, $s x $s," || fail "icon ${s}x${s}: $(file -b "$png")"
done
pass "icons at ${sizes[*]} px"

# The man page: renders with no warning, names the version.
if man --warnings -l "$root/usr/share/man/man1/soakmark.1.gz" >"$work/man" 2>"$work/man.err" && [ ! -s "$work/man.err" ]; then
  pass "man --warnings: clean"
else
  cat "$work/man.err"; fail "man --warnings"
fi
grep -q "Soakmark $version" "$work/man" || fail "the man page does not name version $version"

# --- Installing it, starting it from the menu entry, removing it -------------
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"

# Starts the Exec line of a menu entry, checks its window, and ends it.
start_from_entry() {
  local entry=$1 what=$2 exec_line pid window cls size
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  env -u XDG_DATA_DIRS PATH=/usr/bin:/bin $exec_line >"$work/program.log" 2>&1 &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Soakmark$' | head -n 1) || true
  if [ -z "$window" ]; then
    cat "$work/program.log"; fail "$what: no window titled Soakmark"
  else
    cls=$(xprop -id "$window" WM_CLASS)
    size=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
    [[ $cls == *'"Soakmark"'* ]] && pass "$what: window class Soakmark, as StartupWMClass says" \
      || fail "$what: $cls"
    [ "$size" = "862x606" ] && pass "$what: window of 862 x 606" || fail "$what: window of $size"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

if dpkg-query -W soakmark >/dev/null 2>&1; then as_root apt-get purge -y -qq soakmark >/dev/null; fi
if as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >"$work/apt" 2>&1; then
  pass "apt installs the package"
  dpkg -L soakmark | sort >"$work/installed"
  start_from_entry "/usr/share/applications/$app_id.desktop" "installed package"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq soakmark >"$work/apt" 2>&1 \
    || { cat "$work/apt"; fail "apt purge"; }
  left=$(while read -r f; do if [ -f "$f" ] || [ "$f" = /usr/share/doc/soakmark -a -d "$f" ]; then echo "$f"; fi; done <"$work/installed")
  [ -z "$left" ] && pass "removing the package leaves none of its files" || fail "left after removal: $left"
else
  cat "$work/apt"; fail "apt install"
fi

# --- Installing without a package, into ~/.local ------------------------------
home=$work/home
cmake --install build/release --prefix "$home/.local" >/dev/null
local_files=$(cd "$home/.local" && find . -type f | sed 's|^\./||' | sort)
[ "$local_files" = "$(printf '%s\n' "${expected[@]#usr/}" | sort)" ] && pass "cmake --install to ~/.local installs the same files" \
  || fail "cmake --install to ~/.local installed: $local_files"
entry=$home/.local/share/applications/$app_id.desktop
grep -qx "Exec=$home/.local/bin/soakmark" "$entry" && grep -qx "TryExec=$home/.local/bin/soakmark" "$entry" \
  && pass "~/.local: the menu entry names the installed program by its full path" \
  || fail "~/.local: $(grep -E '^(Try)?Exec=' "$entry")"
out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate (~/.local): $out"
start_from_entry "$entry" "~/.local install, PATH without it"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "All package checks passed"
