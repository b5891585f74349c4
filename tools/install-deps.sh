#!/usr/bin/env bash
# Installs what building, running and testing tarvodisp need on Debian 12.
set -euo pipefail
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends \
    cmake make g++ pkg-config file dpkg-dev \
    qt6-base-dev qt6-serialport-dev libgl-dev qt6-translations-l10n \
    clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix \
    xvfb xauth xdotool xclip imagemagick fonts-dejavu-core \
    gzip bash-completion lintian appstream desktop-file-utils \
    wine wine64 fonts-wine nsis ninja-build zip unzip
