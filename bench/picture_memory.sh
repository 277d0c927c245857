#!/usr/bin/env bash
# Resident memory of brindlecot.exe under Wine + Xvfb showing a background picture, beside the same
# program without one: a 10,000 x 10,000 PNG and a 16,384 x 16,384 PNG (the largest shown; decoded
# row by row into the size that covers the screen) and a 30,000 x 30,000 PNG (refused by its header:
# nothing drawn, the program keeps running). The goal: a peak at most about 100 MB above the
# program without a picture.
#
# Usage: bench/picture_memory.sh [brindlecot.exe] [an older brindlecot.exe to compare with]
# Figures: VmRSS 3 s after the program has drawn, VmHWM (the peak) of its process, in MB, the peak
# above the same program without a picture, and the time from launch until it has drawn (the
# picture is decoded on the way).
# Needs python3 (it writes the pictures).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exes=("$(realpath "${1:-build/windows/brindlecot.exe}")")
[ -n "${2:-}" ] && exes+=("$(realpath "$2")")
command -v python3 >/dev/null || { echo "needs python3 to write the pictures"; exit 1; }

# shellcheck source=bench/bench-lib.sh
source bench/bench-lib.sh

# A PNG of one colour, w x h, written row by row.
python3 - "$BC_SCRATCH" <<'PY'
import struct, sys, zlib
def png(path, w, h):
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    row, z = b'\0' + bytes([0x33, 0x66, 0x99]) * w, zlib.compressobj(6)
    data = b''.join(z.compress(row) for _ in range(h)) + z.flush()
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
                chunk(b'IDAT', data) + chunk(b'IEND', b''))
png(sys.argv[1] + '/p10k.png', 10000, 10000)
png(sys.argv[1] + '/p16k.png', 16384, 16384)
png(sys.argv[1] + '/p30k.png', 30000, 30000)
PY

bench_display
desk="$HOME/Desktop"
mkdir -p "$desk"
for i in $(seq 1 20); do printf 'd' >"$desk/报告 $i.txt"; done
bc_wine_boot

# run_one <exe> <picture file or empty>: prints "rss_mb peak_mb running launch_ms"
run_one() {
    local exe=$1 pic=$2 dir pid rss hwm alive ms
    dir="$BC_SCRATCH/app-$RANDOM$RANDOM"
    mkdir -p "$dir"
    cp "$exe" "$dir/brindlecot.exe"
    if [ -n "$pic" ]; then
        printf '[settings]\r\nbgImage=Z:%s\r\n' "${pic//\//\\}" | iconv -f UTF-8 -t UTF-16 >"$dir/brindlecot.ini"
    fi
    wine "$bin/launch.exe" "Z:${dir//\//\\}\\brindlecot.exe" "Z:${dir//\//\\}" BrindlecotClass </dev/null \
        >"$dir.out" 2>/dev/null || true
    ms=$(tr -d '\r' <"$dir.out" | cut -d' ' -f1)
    pid=""
    for _ in $(seq 50); do pid=$(pid_of "$(basename "$dir")") && break; sleep 0.1; done
    [ -n "$pid" ] || { echo "0 0 no ${ms:-0}"; return; }
    sleep 3
    rss=$(awk '/^VmRSS/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    hwm=$(awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    alive=$([ -d "/proc/$pid" ] && echo yes || echo no)
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do [ -d "/proc/$pid" ] || break; sleep 0.1; done
    echo "$rss $hwm $alive ${ms:-0}"
}

printf '%-34s %-12s %10s %10s %12s %8s %10s\n' program picture "VmRSS MB" "VmHWM MB" "peak+ MB" running "drawn ms"
for exe in "${exes[@]}"; do
    base=0
    for pic in "" "$BC_SCRATCH/p10k.png" "$BC_SCRATCH/p16k.png" "$BC_SCRATCH/p30k.png"; do
        read -r rss hwm alive ms < <(run_one "$exe" "$pic")
        [ -z "$pic" ] && base=$hwm
        printf "%-34s %-12s %10s %10s %12s %8s %10s\n" "$(basename "$(dirname "$exe")")/$(basename "$exe")" \
            "$(basename "${pic:-none}")" "$rss" "$hwm" "$((hwm - base))" "$alive" "$ms"
    done
done
echo "(screen 1600x900; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg))"
