#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its figures. Usage: bench/run-all.sh [build folder]
# (default: build, configured as RelWithDebInfo by the default preset).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

# Benchmarks start their own X servers; never hand them the caller's.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS XAUTHORITY

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset default >/dev/null
fi
benches=(capture_bench typing_bench playback_bench editor_bench idle_bench)
# The Wayland figures need a headless sway and the peers they are measured against.
missing=()
for tool in sway Xwayland wtype grim; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -eq 0 ]; then
    benches+=(sway_bench)
fi
# GNOME and KDE Plasma figures need a headless mutter or kwin_wayland; their benchmarks take the
# desktop as argument.
desktops=()
command -v mutter >/dev/null && desktops+=(gnome)
command -v kwin_wayland >/dev/null && desktops+=(kde)
desktopBenches=(desktop_typing_bench desktop_capture_bench)
if [ ${#desktops[@]} -ne 0 ]; then
    benches+=("${desktopBenches[@]}")
fi
cmake --build "$build" -j "$(nproc)" --target "${benches[@]}"

echo "machine: $(nproc) processors, $(lscpu | sed -n 's/^Model name: *//p')"
run() {
    echo "=== $*"
    # Xlib's complaints about windows that vanished while the harness looked for one are noise.
    "$build/bench/$1" "${@:2}" 2> >(grep -v -e '^X11 error: BadWindow' -e '^_XSERVTrans' >&2)
}
for bench in "${benches[@]}"; do
    case " ${desktopBenches[*]} " in
    *" $bench "*)
        for desktop in "${desktops[@]}"; do
            run "$bench" "$desktop"
        done
        ;;
    *) run "$bench" ;;
    esac
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "=== sway_bench skipped: ${missing[*]} not installed (scripts/install-deps.sh wayland)"
fi
command -v mutter >/dev/null ||
    echo "=== GNOME benchmarks skipped: mutter not installed (scripts/install-deps.sh wayland)"
command -v kwin_wayland >/dev/null ||
    echo "=== KDE Plasma benchmarks skipped: kwin_wayland not installed (scripts/install-deps.sh wayland)"
