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
benches=(capture_bench typing_bench playback_bench editor_bench idle_bench gnome_capture_bench)
# The Wayland figures need a headless sway and the peers they are measured against.
missing=()
for tool in sway Xwayland wtype grim; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -eq 0 ]; then
    benches+=(sway_bench)
fi
cmake --build "$build" -j "$(nproc)" --target "${benches[@]}"

echo "machine: $(nproc) processors, $(lscpu | sed -n 's/^Model name: *//p')"
for bench in "${benches[@]}"; do
    echo "=== $bench"
    # Xlib's complaints about windows that vanished while the harness looked for one are noise.
    "$build/bench/$bench" 2> >(grep -v -e '^X11 error: BadWindow' -e '^_XSERVTrans' >&2)
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "=== sway_bench skipped: ${missing[*]} not installed (scripts/install-deps.sh wayland)"
fi
