#!/usr/bin/env bash
# Programs 512 texts through the real main window, as a person would: in an X
# server with the accessibility bus running and Qt's accessibility on, the
# port typed, the file clicked and "Invia file al TARVO" clicked with xdotool,
# against tarvo-sim unpaced. Prints the wall time against the floor (1024
# exchanges of 10 ms pause) and the program's CPU time over the wall time.
#
#   bench/window-bench.sh [build dir] [runs]
#
# The run ends with the last reply the unit sends, plus the 10 ms pause that
# follows it; it starts at the click. TARVO_BENCH_DISPLAY picks the display
# (default :23); an X server already there is used, otherwise Xvfb is started.
# Before each run, tarvo-bench's reference client (blocking calls, no Qt) makes
# the same number of exchanges: what this machine's wake-ups and timers allow
# at the time, which no program can go below.
# Extra environment for tarvodisp can be given in TARVO_BENCH_ENV, e.g.
# TARVO_BENCH_ENV="perf record -g -o /tmp/p.data" to profile it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/test}")
runs=${2:-3}
display=${TARVO_BENCH_DISPLAY:-:23}
work=$(mktemp -d)
pids=()

cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
fi
export DISPLAY=$display

# A session bus of our own, and the accessibility bus beside it.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
    3>"$work/bus-address" 4>"$work/bus-pid"
pids+=("$(cat "$work/bus-pid")")
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus-address")
export DBUS_SESSION_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
pids+=("$launcher")
for _ in $(seq 50); do
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done
# The launcher's own bus daemon goes with it.
for child in $(pgrep -P "$launcher" || true); do pids+=("$child"); done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb

{
    printf 'benchmark\r\n'
    for ((address = 0; address < 512; address++)); do
        printf '%03dTESTO %010s\r\n' "$address" "$address" | tr ' ' '.' | sed 's/^\(...\)TESTO\./\1TESTO /'
    done
    printf 'end\r\n'
} >"$work/bench.tvo"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Bytes the process has written so far, from /proc.
bytes_written() { awk '/^wchar:/ {print $2}' "/proc/$1/io"; }

# Waits for the unit's last reply and prints the time it was written (seconds
# since the epoch) and the reply bytes counted from the given starting count.
watch_replies() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys, time
pid, expected, start = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def writes():
    with open(f"/proc/{pid}/io") as f:
        for line in f:
            if line.startswith("wchar:"):
                return int(line.split()[1])
last, last_at = writes(), time.time()
deadline = time.time() + 120
while time.time() < deadline:
    now = writes()
    if now != last:
        last, last_at = now, time.time()
    elif now - start >= expected and time.time() - last_at > 0.3:
        break
    time.sleep(0.001)
print(f"{last_at:.6f} {last - start}")
PY
}

ticks_per_second=$(getconf CLK_TCK)
for ((run = 1; run <= runs; run++)); do
    "$build/bench/tarvo-bench" reference --exchanges 1024 2>/dev/null | grep '^reference' || true
    "$build/sim/tarvo-sim" >"$work/sim.out" &
    sim=$!
    for _ in $(seq 50); do
        device=$(head -n 1 "$work/sim.out")
        [ -n "$device" ] && break
        sleep 0.1
    done
    (cd "$work" && exec ${TARVO_BENCH_ENV:-} "$build/tarvodisp") >"$work/app.out" 2>&1 &
    app=$!
    window=$(xdotool search --sync --onlyvisible --name 'www.tarvo.example' | head -n 1)
    sleep 1
    app_pid=$(pgrep -n -x tarvodisp -P "$app" 2>/dev/null || echo "$app")
    [ -d "/proc/$app_pid" ] || app_pid=$app
    # Twips of the layout over 15: the port box, the first file, the button.
    xdotool mousemove --window "$window" 192 324 click 1
    xdotool key --window "$window" ctrl+a
    xdotool type --window "$window" --delay 20 "$device"
    xdotool mousemove --window "$window" 430 26 click 1
    sleep 0.5
    # 512 write replies of 7 bytes and 512 read replies of 24, counted from
    # before the click whenever the watcher gets going.
    watch_replies "$sim" $((512 * 7 + 512 * 24)) "$(bytes_written "$sim")" >"$work/end" &
    watcher=$!
    sleep 0.2
    cpu_before=$(cpu_ticks "$app_pid")
    start=$(date +%s.%N)
    xdotool mousemove --window "$window" 272 376 click 1
    wait "$watcher"
    cpu_after=$(cpu_ticks "$app_pid")
    read -r last_reply replies <"$work/end"
    awk -v s="$start" -v e="$last_reply" -v c="$((cpu_after - cpu_before))" \
        -v hz="$ticks_per_second" -v n="$replies" 'BEGIN {
        wall = e - s + 0.010; floor = 1024 * 0.010
        printf "window run: reply bytes %d  wall %.3f s  floor %.3f s  ratio %.3f  overhead %.3f ms/exchange  cpu %.2f s  cpu/wall %.1f%%\n",
            n, wall, floor, wall / floor, (wall - floor) / 1024 * 1000, c / hz, c / hz / wall * 100 }'
    kill "$app" "$sim" 2>/dev/null || true
    wait "$app" "$sim" 2>/dev/null || true
done
