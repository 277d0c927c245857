#!/usr/bin/env bash
# Makes docs/screenshot.png for the README: the demo desktop that tools/run.sh seeds, with the boxes
# the program makes of it, on a virtual display, cropped to the boxes. Run it again after a change to
# what a box looks like, and commit the picture. Usage: tools/readme-screenshot.sh [out.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out="${1:-$root/docs/screenshot.png}"
cmake --preset windows >/dev/null
cmake --build --preset windows --target brindlecot wintool >/dev/null
# shellcheck source=tools/wine-prefix.sh
source tools/wine-prefix.sh # a throw-away prefix and home in BC_SCRATCH

xvfb_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    bc_wine_cleanup
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
for n in $(seq 140 180); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1600x900x24 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

bc_wine_boot # the desktop folder is $HOME/Desktop
tools/seed-demo-desktop.sh "$HOME/Desktop"
mkdir -p "$BC_SCRATCH/app"
cp build/windows/brindlecot.exe "$BC_SCRATCH/app/"
wine "$BC_SCRATCH/app/brindlecot.exe" </dev/null >/dev/null 2>&1 &
app_pid=$!

# The visible boxes as "x y w h" lines; done when there are three or more, at rest, and each shows
# its blue title bar on the screen (the first run arranges and draws them after showing them).
boxes() { wine build/windows/wintool.exe windows BrindlecotClass 2>/dev/null | tr -d '\r' | awk '$2 == 1 { print $3, $4, $5, $6 }'; }
drawn() {
    import -window root "$BC_SCRATCH/full.png" 2>/dev/null || return 1
    local x y w h px r b
    while read -r x y w h; do
        px=$(convert "$BC_SCRATCH/full.png" -format "%[pixel:p{$((x + w - 20)),$((y + 10))}]" info: 2>/dev/null)
        r=$(echo "$px" | sed -E 's/[^0-9]*([0-9]+),([0-9]+),([0-9]+).*/\1/')
        b=$(echo "$px" | sed -E 's/[^0-9]*([0-9]+),([0-9]+),([0-9]+).*/\3/')
        [ -n "$b" ] && [ "$b" -gt $((r + 40)) ] || return 1
    done <<<"$1"
}
last="" ready=0
for _ in $(seq 120); do
    now=$(boxes)
    if [ "$(echo "$now" | grep -c .)" -ge 3 ] && [ "$now" = "$last" ] && drawn "$now"; then ready=1; break; fi
    last="$now"
    sleep 0.5
done
[ "$ready" = 1 ] || { echo "the boxes were not drawn in time" >&2; exit 1; }
read -r x0 y0 x1 y1 < <(echo "$now" | awk 'NR == 1 { a = $1; b = $2; c = $1 + $3; d = $2 + $4 }
    { if ($1 < a) a = $1; if ($2 < b) b = $2; if ($1 + $3 > c) c = $1 + $3; if ($2 + $4 > d) d = $2 + $4 }
    END { m = 12; a -= m; b -= m; c += m; d += m; if (a < 0) a = 0; if (b < 0) b = 0; print a, b, c, d }')
mkdir -p "$(dirname "$out")"
convert "$BC_SCRATCH/full.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$out"
echo "screenshot: $out ($((x1 - x0)) x $((y1 - y0)))"
