#!/usr/bin/env bash
# Inside a virtual display: a throw-away Wine prefix, then the Wine tiers (unit-wine, win, e2e).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-prefix.sh
source tools/wine-prefix.sh
trap bc_wine_cleanup EXIT
bc_wine_boot
export BC_WIN_BUILD="$root/build/windows"
ctest --test-dir build/windows --output-on-failure "$@"
ctest --test-dir build/host-asan -L '^e2e$' --output-on-failure
