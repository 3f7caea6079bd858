#!/usr/bin/env bash
# scripts/install-desktop for a person with a fresh home: the entry, the icon
# at the sizes menus use and the zarvel: link handler, `xdg-open
# zarvel://2:255` reaching the program with the link, and --remove leaving
# nothing behind. The build is a stand-in: a program that notes its
# arguments, and the icons; a second one lies in a folder whose name needs
# quoting and escaping in the entry.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:?usage: InstallDesktopTest.sh <scratch folder>}"
rm -rf "$work"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
# A desktop session as xdg-open sees one (the stand-in never opens the display).
export XDG_DATA_DIRS="$work/none" XDG_CURRENT_DESKTOP="" DE="" BROWSER=false DISPLAY=:0
build="$work/build"
odd="$work/build dir \"q\" \$x 100%"
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
for dir in "$build" "$odd"; do
  for file in zarvel-icon.png zarvel-icon@2x.png zarvel-icon-48.png zarvel-icon-64.png zarvel-icon-128.png; do
    printf '%s' "$file" > "$dir/resources/$file"
  done
done
BUILD_DIR="$odd" "$root/scripts/install-desktop" >/dev/null
grep -qxF 'Exec="'"$work"'/build dir \\"q\\" \\$x 100%%/zarvel" %u' "$entry" ||
  fail "Exec not quoted: $(grep Exec "$entry")"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "invalid entry"; fi
# The entry starts that program, with the link, as a launcher reads the line.
if command -v gio >/dev/null && gio launch --help >/dev/null 2>&1; then
  gio launch "$entry" "zarvel://2:255" 2>/dev/null || true
  for _ in $(seq 50); do [ -s "$work/started-with" ] && break; sleep 0.1; done
  [ "$(cat "$work/started-with" 2>/dev/null)" = "zarvel://2:255" ] || fail "the odd path's entry starts nothing"
  rm -f "$work/started-with"
fi

BUILD_DIR="$build" "$root/scripts/install-desktop" >/dev/null
[ -f "$entry" ] || fail "no entry"
for pair in 48x48:zarvel-icon-48.png 64x64:zarvel-icon-64.png 128x128:zarvel-icon-128.png \
            256x256:zarvel-icon.png 512x512:zarvel-icon@2x.png; do
  icon="$XDG_DATA_HOME/icons/hicolor/${pair%%:*}/apps/zarvel.png"
  [ "$(cat "$icon" 2>/dev/null)" = "${pair#*:}" ] || fail "no ${pair%%:*} icon"
done
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
if [ -f "$XDG_CONFIG_HOME/mimeapps.list" ] && grep -q 'zarvel.desktop' "$XDG_CONFIG_HOME/mimeapps.list"; then
  fail "link handler left"
fi
# Nothing of it is left: no file, no empty group header, no empty folder
# (but the desktop's own base folders).
left="$(find "$HOME" -mindepth 1 \( -type f -o -type d -empty \) \
  ! -path "$XDG_CONFIG_HOME" ! -path "$XDG_DATA_HOME" -print)"
[ -z "$left" ] || fail "left behind: $left"

# A person's own associations and folders stay.
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/icons/hicolor/48x48/apps"
printf '[Default Applications]\ntext/plain=editor.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"
printf 'other' > "$XDG_DATA_HOME/icons/hicolor/48x48/apps/other.png"
BUILD_DIR="$build" "$root/scripts/install-desktop" >/dev/null
"$root/scripts/install-desktop" --remove >/dev/null
grep -qx 'text/plain=editor.desktop' "$XDG_CONFIG_HOME/mimeapps.list" || fail "another association went"
grep -qx '\[Default Applications\]' "$XDG_CONFIG_HOME/mimeapps.list" || fail "the header of another association went"
[ -f "$XDG_DATA_HOME/icons/hicolor/48x48/apps/other.png" ] || fail "another icon went"
rm -rf "$work"
echo "install-desktop: ok"
