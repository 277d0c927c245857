#!/usr/bin/env bash
# Builds brindlecot.exe and starts it under Wine on a demo desktop folder seeded under ./demo.
# With no X display it runs on a virtual one and saves screenshots to demo/screenshot.png.
# Stop it with Ctrl-C. Run it again to start again with the same demo desktop and INI file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-lib.sh
source tools/wine-lib.sh
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target brindlecot

demo="$root/demo"
mkdir -p "$demo/home" "$demo/app"
export HOME="$demo/home"
export WINEPREFIX="$demo/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$demo/.seeded" ]; then
    tools/seed-demo-desktop.sh "$demo/desktop"
    touch "$demo/.seeded"
    attr_note="seeded"
fi
cp build/windows/brindlecot.exe "$demo/app/"

xvfb_pid=""
cleanup() {
    [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
    Xvfb ":$n" -screen 0 1600x900x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "no display: running on virtual display $DISPLAY; screenshots go to demo/screenshot.png"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "making the Wine prefix (once)..."
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
bc_wine_settings "$demo/desktop"
echo "demo desktop: $demo/desktop ${attr_note:-}; INI and log: $demo/app"
wine "$demo/app/brindlecot.exe" </dev/null &
app_pid=$!
if [ -n "$xvfb_pid" ]; then
    while kill -0 "$app_pid" 2>/dev/null; do
        sleep 3
        import -window root "$demo/screenshot.png" 2>/dev/null && echo "screenshot: $demo/screenshot.png"
    done
else
    wait "$app_pid"
fi
