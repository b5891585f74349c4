#!/usr/bin/env bash
# Checks that everything of src/ outside a posix/ folder compiles for Windows:
# each source is compiled, syntax only, with MinGW-w64's g++ against Debian's
# Qt 6 headers, and no file there includes a POSIX or Linux header (some of
# them MinGW provides too). A system call without a Windows counterpart
# belongs in its layer's posix/ folder, behind an interface declared beside it.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
compiler=x86_64-w64-mingw32-g++-posix
qt=/usr/include/x86_64-linux-gnu/qt6
if ! command -v "$compiler" >/dev/null; then
    echo "check-windows: $compiler is missing (package g++-mingw-w64-x86-64-posix)" >&2
    exit 2
fi
version=$(sed -n 's/^project(tarvodisp VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# -fPIC: Qt's headers refuse to compile without it, built as they are with
# -reduce-relocations; no object code is made here.
flags=(-std=c++20 -fsyntax-only -fPIC "-DTARVO_VERSION=\"$version\"" -I src -I "$qt")
for module in QtCore QtGui QtWidgets QtNetwork QtSerialPort; do
    flags+=(-I "$qt/$module")
done

failed=0
includes=$(grep -rnE '#include <(unistd|fcntl|termios|signal|csignal|dirent|grp|pwd|poll|sys/|linux/)' \
               --include='*.cpp' --include='*.h' src | grep -v '/posix/')
if [ -n "$includes" ]; then
    while IFS= read -r line; do
        echo "FAIL ${line%%:*}: a POSIX header outside posix/: ${line#*:*:}"
        failed=$((failed + 1))
    done <<<"$includes"
fi

# Each source on its own, as many at once as there are cores; a failure is
# printed with its first error.
check() {
    local errors
    if ! errors=$("$compiler" "${flags[@]}" "$1" 2>&1); then
        echo "FAIL $1: $(grep -m1 'error' <<<"$errors")"
    fi
}
export -f check
export compiler
sources=$(find src -name '*.cpp' -not -path '*/posix/*' | sort)
results=$(xargs -P "$(nproc)" -I{} bash -c "$(declare -p flags); check {}" <<<"$sources")
[ -n "$results" ] && echo "$results" | sort
failed=$((failed + $(grep -c '^FAIL' <<<"$results")))
echo "check-windows: $(wc -l <<<"$sources") sources checked, $failed failed"
[ "$failed" -eq 0 ]
