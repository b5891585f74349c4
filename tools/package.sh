#!/usr/bin/env bash
# Builds tarvodisp for release in build/package and makes the Debian package
# with CPack; prints the path of the .deb. Needs the packages of
# tools/install-deps.sh (dpkg-shlibdeps, from dpkg-dev, finds the dependencies).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARVO_PACKAGE_DIR:-build/package}
if ! command -v dpkg-shlibdeps >/dev/null; then
    echo "manca dpkg-shlibdeps: installa i pacchetti con tools/install-deps.sh" >&2
    exit 1
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j2
# A package left by an earlier run must not be taken for this one.
rm -f "$build"/tarvodisp_*.deb
(cd "$build" && cpack -G DEB)
deb=$(find "$(pwd)/$build" -maxdepth 1 -name 'tarvodisp_*.deb' -print -quit)
if [ -z "$deb" ]; then
    echo "cpack non ha prodotto il pacchetto .deb" >&2
    exit 1
fi
echo "$deb"
