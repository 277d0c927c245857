#!/usr/bin/env bash
# Start-up, idle and memory figures of brindlecot.exe under Wine + Xvfb, each beside its baseline
# measured in the same run: a trivial window (start-up, idle CPU) and a window that draws one
# rectangle with Direct2D (resident memory).
#
# Usage: bench/measure.sh [brindlecot.exe] (default: build/windows/brindlecot.exe)
#        RUNS=3 bench/measure.sh   (each program started RUNS times; the median is reported)
#
# Everything happens in a throw-away Wine prefix and home, on its own virtual display, with a seeded
# desktop of 1,000 entries in five groups. The program starts as on a first run (no INI file).
#   launch to drawn: from CreateProcess until the program's thread answers a message sent to its first
#                    box window (the baselines: their window): it answers only back in its message
#                    loop, after start-up has drawn and arranged every box.
#   idle CPU:        user + system time of the program's process over 20 s, 3 s after that, in % of
#                    one core; wineserver and the X server beside it.
#   resident memory: VmRSS of the program's process at the end of the idle period.
#   file to drawn:   (brindlecot only, after the idle period, the folder watch on throughout) from a
#                    file written into the desktop folder until the program logs the end of the rebuild
#                    that shows it (every box made and drawn); the median of FOLLOW_RUNS files.
#   one rebuild:     the time that rebuild logged for itself (scan, every box destroyed, made, drawn).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exe=$(realpath "${1:-build/windows/brindlecot.exe}")
runs=${RUNS:-1}
idle_s=${IDLE_SECONDS:-20}
[ -f "$exe" ] || { echo "no program at $exe (build it: cmake --build --preset windows)"; exit 1; }

# shellcheck source=bench/bench-lib.sh
source bench/bench-lib.sh
cxx=x86_64-w64-mingw32-g++-posix
flags=(-O2 -static -municode)
$cxx "${flags[@]}" -mwindows bench/baselines/trivial_win.cpp -o "$bin/trivial.exe"
$cxx "${flags[@]}" -mwindows bench/baselines/d2d_rect_win.cpp -o "$bin/d2drect.exe" -ld2d1
bench_display

# 1,000 entries: 150 folders, 167 pictures, 300 documents, 183 archives, 200 others.
desk="$HOME/Desktop"
mkdir -p "$desk"
for i in $(seq 1 150); do mkdir "$desk/文件夹 $i"; done
for i in $(seq 1 167); do printf 'p' >"$desk/照片_$i.png"; done
for i in $(seq 1 150); do printf 'd' >"$desk/报告 $i.txt"; printf 'd' >"$desk/report_$i.docx"; done
for i in $(seq 1 183); do printf 'z' >"$desk/资料包_$i.zip"; done
for i in $(seq 1 200); do printf 'x' >"$desk/data_$i.bin"; done
bc_wine_boot

clk=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
wineserver_pid() {
    local p
    for p in /proc/[0-9]*; do
        case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "${p#/proc/}"; return 0; }
    done
    echo ""
}
pct() { awk -v t="$1" -v c="$clk" -v s="$idle_s" 'BEGIN { printf "%.2f", 100 * t / c / s }'; }

# run_one <label> <program> <window class>: prints "launch_ms idle_prog idle_wineserver idle_x rss_mb"
run_one() {
    local label=$1 prog=$2 cls=$3 dir out ms pid ws t0 w0 x0 t1 w1 x1 rss
    dir="$BC_SCRATCH/app-$label-$RANDOM"
    mkdir -p "$dir"
    cp "$prog" "$dir/"
    local name
    name=$(basename "$prog")
    # To a file: the started program inherits the launcher's output and would hold a pipe open.
    wine "$bin/launch.exe" "Z:${dir//\//\\}\\$name" "Z:${dir//\//\\}" "$cls" </dev/null >"$dir.out" 2>/dev/null
    out=$(tr -d '\r' <"$dir.out")
    ms=${out%% *}
    pid=""
    for _ in $(seq 50); do pid=$(pid_of "$(basename "$dir")") && break; sleep 0.1; done
    [ -n "$pid" ] || { echo "no process for $label" >&2; echo "0 0 0 0 0"; return; }
    sleep 3
    ws=$(wineserver_pid)
    echo "$label: process $pid, wineserver ${ws:-not found}, X server $xvfb_pid" >&2
    t0=$(ticks "$pid"); w0=$( [ -n "$ws" ] && ticks "$ws" || echo 0); x0=$(ticks "$xvfb_pid")
    sleep "$idle_s"
    t1=$(ticks "$pid"); w1=$( [ -n "$ws" ] && ticks "$ws" || echo 0); x1=$(ticks "$xvfb_pid")
    rss=$(awk '/^VmRSS/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status")
    [ "$label" = brindlecot ] && follow_desktop "$dir/dbg.log" >&2
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do [ -d "/proc/$pid" ] || break; sleep 0.1; done
    echo "$ms $(pct $((t1 - t0))) $(pct $((w1 - w0))) $(pct $((x1 - x0))) $rss"
}

# Files written into the desktop of the running program: how long until the rebuild that shows each
# one has ended, and what that rebuild took. Prints both medians; also kept for the summary.
follow_runs=${FOLLOW_RUNS:-5}
follow_desktop() {
    local log=$1 k n0 t0 t1 lat="" reb=""
    for k in $(seq "$follow_runs"); do
        n0=$(grep -c '^REBUILD' "$log" 2>/dev/null || true)
        t0=$(date +%s%N)
        printf 'n' >"$desk/新文件_$RANDOM$k.txt"
        for _ in $(seq 2000); do
            [ "$(grep -c '^REBUILD' "$log" 2>/dev/null || true)" -gt "$n0" ] && break
            sleep 0.005
        done
        t1=$(date +%s%N)
        lat+="$(( (t1 - t0) / 1000000 ))"$'\n'
        reb+="$(grep '^REBUILD' "$log" | tail -n1 | sed -E 's/.*ms=([0-9]+).*/\1/')"$'\n'
        sleep 1
    done
    follow_ms=$(printf '%s' "$lat" | median)
    rebuild_ms=$(printf '%s' "$reb" | median)
    echo "file written to drawn: $follow_ms ms (median of $follow_runs; runs: $(echo $lat)); one rebuild: $rebuild_ms ms (runs: $(echo $reb))"
    echo "$follow_ms $rebuild_ms" >"$BC_SCRATCH/follow"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
declare -A results
for label in trivial d2drect brindlecot; do
    case $label in
        trivial) prog="$bin/trivial.exe" cls=BenchTrivial ;;
        d2drect) prog="$bin/d2drect.exe" cls=BenchD2DRect ;;
        brindlecot) prog="$exe" cls=BrindlecotClass ;;
    esac
    rows=""
    for _ in $(seq "$runs"); do rows+="$(run_one "$label" "$prog" "$cls")"$'\n'; done
    for col in 1 2 3 4 5; do
        results[$label,$col]=$(printf '%s' "$rows" | awk -v c=$col 'NF { print $c }' | median)
    done
done

printf '\n%-26s %12s %12s %12s\n' "figure (median of $runs)" brindlecot baseline difference
row() { # name col baseline-label unit
    local a=${results[brindlecot,$2]} b=${results[$3,$2]}
    printf '%-26s %12s %12s %12s\n' "$1" "$a$4" "$b$4" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%+.2f", a - b }')$4"
}
row "launch to drawn (vs trivial)" 1 trivial " ms"
row "launch to drawn (vs d2d)" 1 d2drect " ms"
row "idle CPU, program" 2 trivial " %"
row "idle CPU, wineserver" 3 trivial " %"
row "idle CPU, X server" 4 trivial " %"
row "resident memory (vs d2d)" 5 d2drect " MB"
[ -s "$BC_SCRATCH/follow" ] && read -r follow_ms rebuild_ms <"$BC_SCRATCH/follow" &&
    printf '%-26s %12s\n%-26s %12s\n' "file written to drawn" "$follow_ms ms" "one rebuild" "$rebuild_ms ms"
echo "(desktop: 1,000 entries in five groups; idle over ${idle_s} s; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg))"
