#!/usr/bin/env bash
# Builds tarvodisp with warnings as errors and runs every test, then the
# fuzzers of the message-file readers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARVO_BUILD_DIR:-build/test}
cmake -S . -B "$build" -DTARVO_WERROR=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j2
if [ -x fuzz/run.sh ]; then
    fuzz/run.sh build/fuzz "${TARVO_FUZZ_SECONDS:-30}"
fi
