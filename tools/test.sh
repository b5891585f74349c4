#!/usr/bin/env bash
# Builds tarvodisp with warnings as errors, runs every test and checks the
# Debian package made from that build, then runs every test again in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers of the
# message-file readers for a bounded time. Then the Windows part: with Qt for
# MinGW at hand (../shared/qt-mingw/), every source cross-built for Windows
# and every program linked (tools/check-windows.sh), then tarvo-cli.exe and the
# tests tried under Wine (tools/windows.sh); without it, the Windows sources
# checked for syntax only, and a line says why Wine's trials were skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARVO_BUILD_DIR:-build/test}
cmake -S . -B "$build" -DTARVO_WERROR=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j2
# The Debian package, made from the same build, passes lintian and the
# metadata validators.
tools/check-package.sh "$build"

# Any sanitizer report fails the run: the tests abort on the first one, and
# reports of the processes they start (tarvo-sim) are written to files that are
# checked afterwards.
asan=${TARVO_ASAN_BUILD_DIR:-build/asan}
cmake -S . -B "$asan" -DTARVO_SANITIZE=ON -DTARVO_WERROR=ON
cmake --build "$asan" -j"$(nproc)"
reports="$(pwd)/$asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
asan_status=0
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:log_path=$reports/report" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/report" \
    ctest --test-dir "$asan" --output-on-failure -j2 || asan_status=1
for report in "$reports"/report*; do
    [ -e "$report" ] || continue
    echo "=== sanitizer report $report"
    cat "$report"
    asan_status=1
done
if [ "$asan_status" -ne 0 ]; then
    echo "sanitizer run failed (reports above, also in $reports)" >&2
    exit 1
fi

if [ -x fuzz/run.sh ]; then
    fuzz/run.sh build/fuzz "${TARVO_FUZZ_SECONDS:-30}"
fi

windows_start=$SECONDS
tools/check-windows.sh
if TARVO_QUIET=1 tools/qt-mingw.sh --where >/dev/null 2>&1; then
    TARVO_BUILD_DIR=$build tools/windows.sh
else
    echo "prove sotto Wine saltate: Qt per MinGW non c'è (manca ../shared/qt-mingw/qt-6.4.2-mingw.tar.xz;" \
         "bash tools/qt-mingw.sh lo compila dai sorgenti Debian)"
fi
echo "parte Windows: $((SECONDS - windows_start)) s"
