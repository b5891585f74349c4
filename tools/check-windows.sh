#!/usr/bin/env bash
# Checks the Windows build: no file outside a posix/ folder includes a POSIX or
# Linux header (some of them MinGW provides too) or uses errno, and every posix/X.cpp has its
# Windows counterpart win/X.cpp in the same layer, and the other way round.
# Then, with Qt for MinGW at hand (tools/qt-mingw.sh), every source is compiled
# and every program and test linked for Windows in build/windows (or
# $TARVO_WINDOWS_BUILD_DIR); without it, each source outside posix/ is
# compiled syntax only against Debian's Qt headers, and the line says so.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
    echo "check-windows: $compiler is missing (package g++-mingw-w64-x86-64-posix)" >&2
    exit 2
fi

failed=0
includes=$(grep -rnE '#include <(unistd|fcntl|termios|signal|csignal|dirent|grp|pwd|poll|sys/|linux/)' \
               --include='*.cpp' --include='*.h' src | grep -v '/posix/')
if [ -n "$includes" ]; then
    while IFS= read -r line; do
        echo "FAIL ${line%%:*}: a POSIX header outside posix/: ${line#*:*:}"
        failed=$((failed + 1))
    done <<<"$includes"
fi
# Errors cross the seam as SystemError values, never as error numbers or
# descriptors.
crossings=$( (grep -rnE '\berrno\b|<cerrno>|<errno\.h>' --include='*.cpp' --include='*.h' src
              grep -rnE '\bint fd\b' --include='*.h' src) | grep -v '/posix/')
if [ -n "$crossings" ]; then
    while IFS= read -r line; do
        echo "FAIL ${line%%:*}: an error number or descriptor outside posix/: ${line#*:*:}"
        failed=$((failed + 1))
    done <<<"$crossings"
fi
while IFS= read -r source; do
    folder=$(dirname "$(dirname "$source")")
    side=$(basename "$(dirname "$source")")
    other=$([ "$side" = posix ] && echo win || echo posix)
    if [ ! -f "$folder/$other/$(basename "$source")" ]; then
        echo "FAIL $source: no $folder/$other/$(basename "$source")"
        failed=$((failed + 1))
    fi
done < <(find src -path '*/posix/*.cpp' -o -path '*/win/*.cpp' | sort)

qt=$(TARVO_QUIET=1 tools/qt-mingw.sh --where 2>/dev/null)
if [ -n "$qt" ]; then
    build=${TARVO_WINDOWS_BUILD_DIR:-build/windows}
    start=$SECONDS
    if ! "$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_WERROR=ON \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
            >"$build.configure.log" 2>&1; then
        cat "$build.configure.log"
        echo "FAIL configuring the Windows build"
        failed=$((failed + 1))
    elif ! cmake --build "$build" -j"$(nproc)" >"$build.log" 2>&1; then
        grep -E 'error|FAILED' "$build.log" | head -40
        echo "FAIL the Windows build (whole log in $build.log)"
        failed=$((failed + 1))
    fi
    targets=$(find "$build" -maxdepth 2 -name '*.exe' | wc -l)
    echo "check-windows: every source compiled and $targets programs linked for Windows" \
         "in $build ($((SECONDS - start)) s), $failed failed"
    [ "$failed" -eq 0 ]
    exit
fi

# No Qt for MinGW: each source on its own, syntax only, against Debian's Qt
# headers, as many at once as there are cores; a failure is printed with its
# first error.
qtheaders=/usr/include/x86_64-linux-gnu/qt6
version=$(sed -n 's/^project(tarvodisp VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# -fPIC: Qt's headers refuse to compile without it, built as they are with
# -reduce-relocations; no object code is made here.
flags=(-std=c++20 -fsyntax-only -fPIC "-DTARVO_VERSION=\"$version\"" -I src -I "$qtheaders")
for module in QtCore QtGui QtWidgets QtSerialPort QtNetwork; do
    flags+=(-I "$qtheaders/$module")
done
check() {
    local errors
    if ! errors=$("$compiler" "${flags[@]}" "$1" 2>&1); then
        echo "FAIL $1: $(grep -m1 'error' <<<"$errors")"
    fi
}
export -f check
export compiler
sources=$(find src -name '*.cpp' -not -path '*/posix/*' -not -path '*/win/*' | sort)
results=$(xargs -P "$(nproc)" -I{} bash -c "$(declare -p flags); check {}" <<<"$sources")
[ -n "$results" ] && echo "$results" | sort
failed=$((failed + $(grep -c '^FAIL' <<<"$results")))
echo "check-windows: Qt per MinGW assente, $(wc -l <<<"$sources") sources checked for syntax only," \
     "$failed failed"
[ "$failed" -eq 0 ]
