#!/usr/bin/env bash
# Installs the Debian packages Pontrel needs that are missing.
#   install-deps.sh run    what building and starting the program needs
#   install-deps.sh test   that, plus everything the tests need
#   install-deps.sh wayland  that, plus headless sway, mutter (XWayland, PipeWire), KWin and the
#                            portal frontend for the Wayland tests
#   install-deps.sh windows  the cross compilers (32, 64 bit) and wine for the Windows build and tests
#   install-deps.sh windows-screenshot  that, plus the tools for a picture of the window
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n
    libx11-dev libxtst-dev libxi-dev libxext-dev libxss-dev libxkbcommon-dev
    libwayland-dev libwayland-bin libpipewire-0.3-dev plasma-wayland-protocols
    fonts-dejavu-core fonts-dejavu-extra
)
test_packages=(
    googletest libgtest-dev
    clang libclang-rt-14-dev clang-format
    xvfb xdotool xclip x11-xkb-utils xkb-data x11-utils x11-xserver-utils
    imagemagick xcompmgr openbox
    dbus dbus-bin python3-dbusmock
    dpkg-dev desktop-file-utils libxml2-utils libglib2.0-bin shared-mime-info xdg-utils
)

wayland_packages=(
    sway xwayland qt6-wayland grim wtype wayland-utils python3-gi gir1.2-gtk-3.0
    mutter pipewire pipewire-bin wireplumber
    xdg-desktop-portal python3-dbus
    kwin-wayland
)

windows_packages=(
    cmake ninja-build googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine32 wine64 fonts-wine xvfb zip
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    wayland) wanted=("${run_packages[@]}" "${test_packages[@]}" "${wayland_packages[@]}") ;;
    windows | windows-screenshot)
        wanted=("${windows_packages[@]}")
        [ "$1" = windows-screenshot ] && wanted+=(x11-apps imagemagick)
        # wine32 comes from the i386 architecture.
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            "${sudo_cmd[@]}" dpkg --add-architecture i386
        fi
        ;;
    *) echo "Aufruf: $0 run|test|wayland|windows|windows-screenshot" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installiere: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
