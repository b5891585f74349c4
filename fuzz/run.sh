#!/bin/sh
# Builds the libFuzzer targets and runs each for a bounded time on a scratch
# copy of the seed corpus, so the repository is left as it was. Exits non-zero
# when any target finds a crash, a sanitizer report or a broken rule; the inputs
# that failed are kept in <build dir>/fuzz-findings/.
#
#   fuzz/run.sh [build dir] [seconds per target]   (defaults: /work/build-fuzz, 30)
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-/work/build-fuzz}
seconds=${2:-30}
targets="fuzz_linereader fuzz_leggifiledaprogrammare fuzz_leggifiledaeditare"

CXX=${CXX:-clang++} cmake -S "$source_dir" -B "$build_dir" -DTARVO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build_dir" -j2 --target $targets

# The targets write a file per input: keep the scratch folder in memory when
# possible, so the run measures the readers and not the disk.
scratch=$(mktemp -d /dev/shm/tarvo-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
findings="$build_dir/fuzz-findings"
mkdir -p "$findings"

status=0
for target in $targets; do
    corpus="$scratch/$target"
    cp -r "$source_dir/fuzz/corpus" "$corpus"
    log="$scratch/$target.log"
    if TMPDIR="$scratch" "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$findings/$target-" "$corpus" >"$log" 2>&1; then
        outcome="no findings"
    else
        outcome="FINDING (see $findings and the log below)"
        status=1
    fi
    runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 executions in \2 s/p' "$log")
    echo "$target: ${runs:-no execution count}, $outcome"
    case $outcome in
    FINDING*) tail -n 40 "$log" ;;
    esac
done
exit "$status"
