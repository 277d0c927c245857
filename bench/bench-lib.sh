# Sourced by the measurement scripts: a throw-away Wine prefix and home, a virtual display of its
# own (1600x900), the launcher that waits until a program has drawn, and a process lookup.
# Sets BC_SCRATCH, WINEPREFIX, HOME, DISPLAY and bin (the folder of launch.exe); cleans up on exit.
# shellcheck source=tools/wine-prefix.sh
source tools/wine-prefix.sh
xvfb_pid=""
bench_cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    bc_wine_cleanup
}
trap bench_cleanup EXIT INT TERM

bin="$BC_SCRATCH/bin"
mkdir -p "$bin"
x86_64-w64-mingw32-g++-posix -O2 -static -municode bench/baselines/launch_win.cpp -o "$bin/launch.exe"

bench_display() {
    local n
    for n in $(seq 140 199); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
    Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# The Linux process whose command line names the given unique path.
pid_of() {
    local want=$1 p
    for p in /proc/[0-9]*; do
        if tr '\0' ' ' 2>/dev/null <"$p/cmdline" | grep -qF "$want"; then echo "${p#/proc/}"; return 0; fi
    done
    return 1
}
