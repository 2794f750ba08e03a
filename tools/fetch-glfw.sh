#!/usr/bin/env bash
# Brings GLFW's source into the build tree from Debian's source package
# glfw3, checks the tarball against the checksum of the package's .dsc,
# unpacks it and applies the project's patches to GLFW.
#
# usage: fetch-glfw.sh DEST_DIR PATCH_DIR
# On success DEST_DIR/glfw holds the patched source tree.
set -euo pipefail

dest=$1
patch_dir=$2
version=3.3.8
tree="$dest/glfw"
stamp="$tree/.zephyrine-patched"

patches=()
if [ -d "$patch_dir" ]; then
    while IFS= read -r p; do patches+=("$p"); done < <(find "$patch_dir" -maxdepth 1 -name '*.patch' | sort)
fi

# The stamp records which patches were applied; a changed set means a fresh unpack.
want=$( { echo "$version"; for p in "${patches[@]}"; do sha256sum "$p" | cut -d' ' -f1; done; } | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    exit 0
fi

download="$dest/download"
mkdir -p "$download"
tarball="$download/glfw3_${version}.orig.tar.gz"
dsc=$(find "$download" -maxdepth 1 -name "glfw3_${version}-*.dsc" | sort | tail -n 1)

if [ ! -f "$tarball" ] || [ -z "$dsc" ]; then
    (cd "$download" && apt-get source --download-only glfw3) || {
        echo "fetch-glfw: 'apt-get source glfw3' failed; run tools/setup-debian.sh first" >&2
        exit 1
    }
    dsc=$(find "$download" -maxdepth 1 -name "glfw3_${version}-*.dsc" | sort | tail -n 1)
fi
if [ ! -f "$tarball" ] || [ -z "$dsc" ]; then
    echo "fetch-glfw: the source package did not give glfw3_${version}.orig.tar.gz" >&2
    exit 1
fi

# Checksums-Sha256 lines of the .dsc read " <sha256> <size> <file>".
expected=$(awk -v f="glfw3_${version}.orig.tar.gz" '
    /^Checksums-Sha256:/ { in_block = 1; next }
    /^[^ ]/ { in_block = 0 }
    in_block && $3 == f { print $1 }' "$dsc")
actual=$(sha256sum "$tarball" | cut -d' ' -f1)
if [ -z "$expected" ] || [ "$expected" != "$actual" ]; then
    echo "fetch-glfw: checksum mismatch for $tarball (dsc: '$expected', file: '$actual')" >&2
    exit 1
fi

rm -rf "$tree" "$dest/unpack"
mkdir -p "$dest/unpack"
tar -xzf "$tarball" -C "$dest/unpack"
mv "$dest/unpack/glfw-$version" "$tree"
rmdir "$dest/unpack"

for p in "${patches[@]}"; do
    echo "fetch-glfw: applying $(basename "$p")"
    patch -d "$tree" -p1 --forward --quiet <"$p"
done
echo "$want" >"$stamp"
