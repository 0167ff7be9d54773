#!/usr/bin/env bash
# Builds the .deb and checks it as a user's system would see it: its files and dependencies, the
# desktop entry, the MIME type of macro files, and that opening a macro file from the desktop
# starts Pontrel with it, which loads and plays it. It installs and removes the package only in
# CI (CI=true); elsewhere it unpacks it into a temporary folder and changes nothing on the machine.
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb="$(ls "$work"/out/pontrel_*.deb)"
echo "package: ${deb##*/}"

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for file in ./usr/bin/Pontrel ./usr/bin/Pontrel1 ./usr/share/applications/pontrel.desktop \
    ./usr/share/mime/packages/pontrel-macro.xml ./usr/share/icons/hicolor/scalable/apps/pontrel.svg \
    ./usr/share/icons/hicolor/48x48/apps/pontrel.png ./usr/share/man/man1/Pontrel.1 \
    ./usr/share/doc/pontrel/README.md; do
    grep -qx -- "$file" "$work/contents" || fail "missing $file"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libx11-6 libxtst6 libxi6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-dejavu-extra; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$work/root"
if [ "${CI:-}" = "true" ]; then
    apt-get install -y "$deb" >/dev/null
    root=""
else
    dpkg-deb -x "$deb" "$root"
    update-mime-database "$root/usr/share/mime" >/dev/null
fi
desktop-file-validate "$root/usr/share/applications/pontrel.desktop" || fail "desktop entry"
# KWin lets only the program at the Exec= path of such an entry type and take screenshots.
entry="$(cat "$root/usr/share/applications/pontrel.desktop")"
[[ "$entry" == *$'\nExec=/usr/bin/Pontrel '* ]] || fail "Exec= is not the installed path"
[[ "$entry" == *"X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input"* ]] || fail "no KWin fake input"
[[ "$entry" == *"X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2"* ]] || fail "no KWin screenshots"
xmllint --noout "$root/usr/share/mime/packages/pontrel-macro.xml" || fail "MIME XML"
"$root/usr/bin/Pontrel" --version | grep -q "1.2.2" || fail "--version"

# The desktop's view: its own folders, our data first, a private X server.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export XDG_DATA_DIRS="${root:+$root/usr/share:}/usr/share" PATH="${root:+$root/usr/bin:}$PATH"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
update-desktop-database "${root:-}/usr/share/applications" 2>/dev/null || true

macro="$work/Mein Makro.qmc"
marker="$work/opened"
printf '.qmc 0000 Pontrel Version 1.2.2\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\ncode:|006|pfad:|/usr/bin/touch %s|\r\ncode:|001|wait:|300|\r\ncode:|007|pc:|end|\r\nkey:|0|\r\n' "$marker" >"$macro"
type="$(gio info -a standard::content-type "$macro" | awk '/content-type/ {print $2}')"
[ "$type" = "application/x-pontrel-macro" ] || fail "macro file type is '$type'"
applications="$(gio mime application/x-pontrel-macro)"
[[ "$applications" == *"Default application"*pontrel.desktop* ]] || fail "not opened by Pontrel: $applications"

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -noreset -nolisten tcp -screen 0 1280x1024x24 2>/dev/null &
xvfb_pid=$!
read -r -t 20 display <&"$display_fd" || fail "Xvfb did not start"
export DISPLAY=":$display"

gio open "$macro"
for _ in $(seq 100); do
    [ -e "$marker" ] && break
    sleep 0.1
done
[ -e "$marker" ] || fail "opening the macro did not start Pontrel with it"
for _ in $(seq 100); do
    pgrep -f "$root/usr/bin/Pontrel|^Pontrel" >/dev/null || break
    sleep 0.1
done

if [ "${CI:-}" = "true" ]; then
    apt-get remove -y pontrel >/dev/null
    [ ! -e /usr/bin/Pontrel ] || fail "package did not remove cleanly"
fi
echo "package checks passed"
