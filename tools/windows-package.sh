#!/usr/bin/env bash
# Makes what a technician takes to a Windows PC from a folder of Windows
# programs with their DLLs and plugins (tools/windows.sh gathers it):
# tarvodisp-<version>-windows.zip, to unzip and run, and
# tarvodisp-<version>-windows-setup.exe, an installer built with NSIS.
# Usage: tools/windows-package.sh PROGRAMS_FOLDER OUTPUT_FOLDER
# Prints the paths of the two files.
set -euo pipefail
cd "$(dirname "$0")/.."
programs=$(realpath "$1")
out=$(realpath -m "$2")
version=$(sed -n 's/^project(tarvodisp VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=tarvodisp-$version-windows
crlf() { sed 's/$/\r/' "$1"; }

rm -rf "${out:?}/$name" "$out/$name.zip" "$out/$name-setup.exe"
folder=$out/$name
mkdir -p "$folder/LICENZE"
# The programs and what they load; no test and no test library.
cp "$programs"/tarvodisp.exe "$programs"/tarvo-cli.exe "$programs"/qt.conf "$folder/"
for dll in "$programs"/*.dll; do
    [ "$(basename "$dll")" = Qt6Test.dll ] || cp "$dll" "$folder/"
done
cp -r "$programs/platforms" "$programs/styles" "$programs/translations" "$folder/"
rm -f "$folder/platforms/qoffscreen.dll"
crlf fuzz/corpus/esempio.tvo >"$folder/esempio.tvo"
crlf data/windows/LEGGIMI.txt >"$folder/LEGGIMI.txt"
crlf /usr/share/common-licenses/LGPL-3 >"$folder/LICENZE/LGPL-3.txt"
crlf /usr/share/common-licenses/GPL-3 >"$folder/LICENZE/GPL-3.txt"
crlf data/doc/copyright >"$folder/LICENZE/tarvodisp.txt"

(cd "$out" && zip -qr "$name.zip" "$name")

# The uninstaller's list: every file, then every folder deepest first.
files=$out/$name-files.nsh
{
    (cd "$folder" && find . -type f | sort) | sed 's#^\./##; s#/#\\#g; s#.*#    Delete "$INSTDIR\\&"#'
    (cd "$folder" && find . -mindepth 1 -type d | sort -r) | sed 's#^\./##; s#/#\\#g; s#.*#    RMDir "$INSTDIR\\&"#'
} >"$files"
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DFILES="$files" \
    -DOUTFILE="$out/$name-setup.exe" data/windows/tarvodisp.nsi >"$out/$name-makensis.log" ||
    { cat "$out/$name-makensis.log"; exit 1; }
echo "$out/$name.zip"
echo "$out/$name-setup.exe"
