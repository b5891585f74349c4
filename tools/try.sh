#!/usr/bin/env bash
# Installs what is needed, builds tarvodisp and starts it beside a simulated
# Tarvo unit, so that the program can be tried without a unit at hand. The
# program opens in a folder holding an example message file. Any argument goes
# to tarvo-sim (for instance --id '&C2' or --baud 9600).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build=${TARVO_BUILD_DIR:-build/try}
cmake -S . -B "$build" -DBUILD_TESTING=OFF
cmake --build "$build" -j"$(nproc)" --target tarvodisp tarvo-sim

build=$(realpath "$build")
example=$(realpath fuzz/corpus/esempio.tvo)
output=$(mktemp)
folder=$(mktemp -d)
sim_pid=
stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -f "$output"
    rm -rf "$folder"
}
trap stop_sim EXIT

"$build/sim/tarvo-sim" "$@" >"$output" &
sim_pid=$!
# The simulated unit prints its device path on its first line and, on its
# third, the stable name under which the program lists it.
for _ in $(seq 50); do
    device=$(head -n 1 "$output")
    link=$(sed -n 3p "$output" | awk '{print $NF}')
    [ -n "$device" ] && [ -n "$link" ] && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "tarvo-sim non è partito" >&2; exit 1; }
    sleep 0.1
done
if [ -z "$link" ]; then
    echo "tarvo-sim non ha indicato il suo percorso" >&2
    exit 1
fi
cp "$example" "$folder/"
echo "Nella casella gialla Porta COM premi Alt+Giù (oppure F4, o clic destro) e scegli"
echo "l'unità simulata: $device — $link"
echo "La lista dei file mostra esempio.tvo, un file di messaggi d'esempio."
cd "$folder"
"$build/tarvodisp"
