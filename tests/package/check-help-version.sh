#!/usr/bin/env bash
# --help and --version answer on the terminal, exit 0 and open no window (no display is given).
set -euo pipefail
program="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

version="$(env -u DISPLAY "$program" --version)" || fail "--version exit code"
[ "$version" = "Pontrel 1.2.2" ] || fail "--version printed '$version'"
help="$(env -u DISPLAY "$program" --help)" || fail "--help exit code"
[[ "$help" == Aufruf:* && "$help" == *"--version"* ]] || fail "--help printed '$help'"
# Any other argument keeps its meaning: without a display the program says it needs one.
if env -u DISPLAY "$program" --help extra 2>/dev/null; then
    fail "two arguments were taken as --help"
fi
echo "help and version checks passed"
