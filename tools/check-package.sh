#!/usr/bin/env bash
# Makes the Debian package from a folder that is already built (build/test,
# which tools/test.sh has just built, unless a folder is given) and checks it
# as Debian does: lintian with no error and no warning, the AppStream metadata
# and the desktop entry valid as installed. Prints the path of the package.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-${TARVO_BUILD_DIR:-build/test}}
out="$(cd "$build" && pwd)/package-check"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(find "$out" -maxdepth 1 -name 'tarvodisp_*.deb' -print -quit)
if [ -z "$deb" ]; then
    echo "cpack non ha prodotto il pacchetto .deb" >&2
    exit 1
fi

lintian --fail-on error,warning "$deb"

root="$out/root"
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$root"/usr/share/applications/*.desktop
echo "$deb"
