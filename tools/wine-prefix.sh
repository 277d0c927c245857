# Sourced: makes a throw-away Wine prefix for this run and starts a persistent wineserver in it.
# Sets WINEPREFIX, WINEDEBUG, HOME (a throw-away home, so nothing reaches the real desktop) and
# BC_SCRATCH (the folder that holds them). Call bc_wine_cleanup at the end.
# shellcheck source=tools/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"
BC_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/bc-run-XXXXXX")
export BC_SCRATCH
export HOME="$BC_SCRATCH/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
export WINEPREFIX="$BC_SCRATCH/prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts in a prefix nobody looks at.
export WINEDLLOVERRIDES="mscoree=;mshtml="

bc_wine_boot() {
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    bc_wine_settings "$HOME/Desktop"
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

bc_wine_cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$BC_SCRATCH"
}
