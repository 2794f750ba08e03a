#!/usr/bin/env bash
# Installs everything the builds and tests need on Debian 12, as root.
# Idempotent: packages already present are skipped, and apt is only
# refreshed when something is missing.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "setup: run as root (it installs Debian packages)" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# Source entries are needed for GLFW's source package. They are derived
# from the machine's own binary entries so no mirror is named here.
src_list=/etc/apt/sources.list.d/zephyrine-deb-src.sources
need_update=0
if [ ! -f "$src_list" ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' \
        /etc/apt/sources.list.d/debian.sources >"$src_list"
    need_update=1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
fi

packages=(
    # builds
    cmake ninja-build make g++ clang pkg-config python3 xz-utils
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    libgl-dev libegl-dev libegl-mesa0 libgl1-mesa-dri libpng-dev libgtest-dev
    # the Windows executable under Wine on a virtual screen; wine64 runs the
    # 64-bit twin where the kernel cannot execute Wine's 32-bit side
    wine wine32 wine64
    libgl1:i386 libglx0:i386 libglvnd0:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
    xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    need_update=1
fi
if [ "$need_update" -eq 1 ]; then
    apt-get update -q
fi
if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    apt-get install -y -q --no-install-recommends "${missing[@]}"
else
    echo "setup: all packages present"
fi
