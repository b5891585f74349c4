#!/usr/bin/env bash
# Puts Qt 6.4.2 for x86_64-w64-mingw32 (Core, Gui, Widgets, Network, Test, the
# windows platform plugin, SerialPort) in a cache folder and prints where it is.
# It unpacks ../shared/qt-mingw/qt-6.4.2-mingw.tar.xz when that archive is at
# hand, else builds Qt from Debian's qt6-base source with the steps of
# ../shared/qt-mingw/build.sh. A second run finds Qt in place and does nothing.
# The folder: $TARVO_QT_MINGW, else ~/.cache/tarvodisp/qt-6.4.2-mingw.
# With --where it prints only the folder, once Qt is there (unpacking the
# archive if need be), and nothing, exiting 1, when Qt would have to be built.
set -euo pipefail
where=false
[ "${1:-}" = --where ] && where=true
here=$(cd "$(dirname "$0")/.." && pwd)
shared=$(realpath -m "${TARVO_SHARED_DIR:-$here/../shared}/qt-mingw")
prefix=${TARVO_QT_MINGW:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvodisp/qt-6.4.2-mingw}
marker="$prefix/.tarvo-ready"

archive="$shared/qt-6.4.2-mingw.tar.xz"
if [ -f "$marker" ]; then
    if $where; then echo "$prefix"; else echo "Qt per MinGW già pronto in $prefix (nulla da fare)"; fi
    exit 0
fi
if $where; then
    [ -f "$archive" ] || exit 1
    "$0" >&2
    echo "$prefix"
    exit 0
fi
mkdir -p "$(dirname "$prefix")"
staging=$(mktemp -d "$(dirname "$prefix")/.qt-mingw.XXXXXX")
trap 'rm -rf "$staging"' EXIT
start=$SECONDS
if [ -f "$archive" ]; then
    tar -xJf "$archive" -C "$staging"
    # The archive holds one top folder (the built prefix).
    top=$(find "$staging" -mindepth 1 -maxdepth 1 -type d)
    [ -x "$top/bin/qt-cmake" ] || { echo "qt-mingw: $archive has no bin/qt-cmake" >&2; exit 1; }
    what="estratto da $archive"
else
    [ -x "$shared/build.sh" ] || { echo "qt-mingw: neither $archive nor $shared/build.sh is at hand" >&2; exit 1; }
    echo "Qt per MinGW: $archive assente, lo compilo dai sorgenti Debian (circa 17 minuti su due core)"
    top="$staging/prefix"
    "$shared/build.sh" "$top" "$staging/work"
    rm -rf "$staging/work"
    what="compilato dai sorgenti Debian"
fi
rm -rf "$prefix"
mv "$top" "$prefix"
touch "$marker"
echo "Qt per MinGW $what in $prefix ($((SECONDS - start)) s)"
