#!/usr/bin/env bash
# Installs the Debian packages Pontrel needs that are missing.
#   install-deps.sh run    what building and starting the program needs
#   install-deps.sh test   that, plus everything the tests need
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libx11-dev libxtst-dev libxi-dev libxext-dev libxss-dev
    fonts-dejavu-core
)
test_packages=(
    googletest libgtest-dev
    clang libclang-rt-14-dev clang-format
    xvfb xdotool xclip x11-xkb-utils xkb-data x11-utils x11-xserver-utils
    imagemagick xcompmgr
    dbus python3-dbusmock
)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    *) echo "Aufruf: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installiere: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
