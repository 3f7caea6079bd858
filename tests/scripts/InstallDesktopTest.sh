#!/usr/bin/env bash
# scripts/install-desktop for a person with a fresh home: the entry, the icon
# and the zarvel: link handler, `xdg-open zarvel://2:255` reaching the program
# with the link, and --remove. The build is a stand-in: a program that notes
# its arguments, and an icon; a second one lies in a folder whose name needs
# quoting in the entry.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:?usage: InstallDesktopTest.sh <scratch folder>}"
rm -rf "$work"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
# A desktop session as xdg-open sees one (the stand-in never opens the display).
export XDG_DATA_DIRS="$work/none" XDG_CURRENT_DESKTOP="" DE="" BROWSER=false DISPLAY=:0
build="$work/build"
odd="$work/build dir \"q\" \$x"
for dir in "$build" "$odd"; do
  mkdir -p "$dir/resources"
  cat > "$dir/zarvel" <<PROGRAM
#!/bin/sh
printf '%s\n' "\$@" > "$work/started-with"
PROGRAM
  chmod +x "$dir/zarvel"
done
mkdir -p "$HOME"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Without the icon the script says to build first, and installs nothing.
if out="$(BUILD_DIR="$build" "$root/scripts/install-desktop" 2>&1)"; then fail "installed without an icon"; fi
[[ "$out" == *"zarvel-icon.png is missing: build first"* ]] || fail "unclear message: $out"
[ ! -e "$XDG_DATA_HOME/applications/zarvel.desktop" ] || fail "an entry without an icon"

entry="$XDG_DATA_HOME/applications/zarvel.desktop"
printf 'icon' | tee "$build/resources/zarvel-icon.png" > "$odd/resources/zarvel-icon.png"
BUILD_DIR="$odd" "$root/scripts/install-desktop" >/dev/null
grep -qxF 'Exec="'"$work"'/build dir \\"q\\" \\$x/zarvel" %u' "$entry" || fail "Exec not quoted: $(grep Exec "$entry")"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "invalid entry"; fi

BUILD_DIR="$build" "$root/scripts/install-desktop" >/dev/null
[ -f "$entry" ] || fail "no entry"
[ -f "$XDG_DATA_HOME/icons/hicolor/256x256/apps/zarvel.png" ] || fail "no icon"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "invalid entry"; fi
grep -qx 'MimeType=x-scheme-handler/zarvel;' "$entry" || fail "no scheme in the entry"

if command -v xdg-open >/dev/null; then
  [ "$(xdg-mime query default x-scheme-handler/zarvel)" = "zarvel.desktop" ] || fail "not the link handler"
  xdg-open "zarvel://2:255" || fail "xdg-open failed"
  for _ in $(seq 50); do [ -s "$work/started-with" ] && break; sleep 0.1; done
  [ "$(cat "$work/started-with" 2>/dev/null)" = "zarvel://2:255" ] || fail "the program was not started with the link"
fi

"$root/scripts/install-desktop" --remove >/dev/null
[ ! -e "$entry" ] || fail "entry left"
[ ! -e "$XDG_DATA_HOME/icons/hicolor/256x256/apps/zarvel.png" ] || fail "icon left"
if [ -f "$XDG_CONFIG_HOME/mimeapps.list" ] && grep -q 'zarvel.desktop' "$XDG_CONFIG_HOME/mimeapps.list"; then
  fail "link handler left"
fi
rm -rf "$work"
echo "install-desktop: ok"
