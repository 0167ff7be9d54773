#!/usr/bin/env bash
# Installs what is missing, builds Pontrel and starts it on the current X11 display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default --target Pontrel Pontrel1

if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<'MSG'
Pontrel wurde gebaut (build/Pontrel), braucht zum Start aber eine X11-Anzeige.
Es ist keine gesetzt (DISPLAY ist leer). Starten Sie es in einer grafischen Sitzung,
über ssh -X, oder zum Ausprobieren in einem virtuellen Bildschirm:
    Xvfb :5 & DISPLAY=:5 build/Pontrel
MSG
    exit 1
fi
exec build/Pontrel "$@"
