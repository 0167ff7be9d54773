#!/usr/bin/env bash
# Checks that the layers keep their direction. The form (src/model, src/engine, src/editor,
# src/window) and the platform's own interfaces (src/platform and src/platform/controls) include
# no toolkit, windowing-system or Win32 header and nothing of a backend (src/platform/qt, x11,
# linux, win, gnome); nothing under src/platform includes the form. Every offending include is printed
# as file:line. Usage: check-layers.sh [source tree, default: this repository]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
toolkit='<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*|X11/[^>]*|xcb/[^>]*|wayland-[^>]*|dbus/[^>]*|pipewire/[^>]*|spa/[^>]*|windows\.h|win[a-z0-9]*\.h|[a-z]*api\.h|shlobj\.h|objbase\.h|ole2\.h|gdiplus[^>]*|mmsystem\.h|commctrl\.h|commdlg\.h)>'
backend='[<"](\.\./)*platform/(qt|x11|linux|win|gnome)/'
form='[<"](\.\./)*(model|engine|editor|window)/'

# Prints "file:line: include -- reason" for every line of the files matching the pattern.
offending() {
    local pattern="$1" reason="$2"
    shift 2
    [ "$#" -gt 0 ] || return 0
    grep -HnE "$include($pattern)" "$@" |
        sed -E "s/^([^:]*:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*(.*)$/\1: \2 -- $reason/" ||
        true
}

sources() {
    find "$@" -maxdepth "${depth:-99}" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null |
        sort
}

mapfile -t form_files < <(sources src/model src/engine src/editor src/window)
mapfile -t interface_files < <(depth=1 sources src/platform; sources src/platform/controls)
mapfile -t platform_files < <(sources src/platform)

found=$({
    offending "$toolkit" "the form names no toolkit" "${form_files[@]}"
    offending "$backend" "the form reaches backends only through interfaces" "${form_files[@]}"
    offending "$toolkit" "platform interfaces name no toolkit" "${interface_files[@]}"
    offending "$backend" "platform interfaces include no backend" "${interface_files[@]}"
    offending "$form" "the platform includes nothing of the form" "${platform_files[@]}"
})

if [ -n "$found" ]; then
    echo "Layer direction broken:"
    echo "$found"
    exit 1
fi
echo "Layers keep their direction."
