#!/usr/bin/env bash
# The layer check on a small planted tree: a clean tree passes; each kind of wrong include is
# named with its file and line.
set -euo pipefail
check="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/src/{model,window,platform/controls,platform/x11}

printf '#include <vector>\n#include "platform/Status.h"\n' >"$tree/src/model/Clean.h"
printf '#include <X11/Xlib.h>\n#include "platform/Status.h"\n' >"$tree/src/platform/x11/Ok.cpp"
"$check" "$tree" >/dev/null || { echo "a clean tree was refused"; exit 1; }

printf '#include <string>\n#include <QString>\n' >"$tree/src/model/Bad.cpp"
printf '  #  include "platform/x11/X11Keymap.h"\n' >"$tree/src/window/Bad.h"
printf '#include <windows.h>\n' >"$tree/src/platform/controls/Bad.h"
printf '#include "../engine/KeyAction.h"\n' >"$tree/src/platform/Bad.h"
if output="$("$check" "$tree")"; then
    echo "planted includes passed"
    exit 1
fi
status=0
for expected in src/model/Bad.cpp:2: src/window/Bad.h:1: src/platform/controls/Bad.h:1: \
    src/platform/Bad.h:1:; do
    grep -q "^$expected" <<<"$output" || { echo "not named: $expected"; status=1; }
done
[ "$(grep -c '^src/' <<<"$output")" -eq 4 ] || { echo "named too much:"; echo "$output"; status=1; }
exit $status
