#!/usr/bin/env bash
# Builds the Windows Qt that the cross build links against, once: Debian's own qtbase source,
# the version of the build machine's Qt (whose moc, uic and rcc the cross build uses), cut down
# to what the program and its tests need. Prints the folder it is installed in.
# The folder is $TONGQIU_WINDOWS_QT, or ~/.cache/tongqiu/qt6-win64; a finished build is reused.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

prefix=${TONGQIU_WINDOWS_QT:-$HOME/.cache/tongqiu/qt6-win64}
if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
fi

"$here/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix qt6-base-dev-tools >&2

work=$(mktemp -d "${TMPDIR:-/tmp}/tongqiu-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
"$here/scripts/debian-source.sh" "qt6-base=$host_version"
source=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

started=$SECONDS
mkdir build
cd build
"$work/$source/configure" -prefix "$prefix" -release -shared -xplatform win32-g++ \
    -qt-host-path /usr -nomake examples -nomake tests \
    -no-opengl -no-dbus -no-icu -no-zstd -no-vulkan -no-direct2d -no-directwrite \
    -qt-zlib -qt-pcre -qt-doubleconversion -qt-libb2 -qt-harfbuzz -qt-freetype -qt-libpng \
    -no-libjpeg -no-gif -no-ico \
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent \
    -no-feature-printsupport -no-feature-tabletevent \
    -- -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" >&2
cmake --build . --parallel "$(nproc)" >&2
cmake --install . >&2
echo "Windows Qt built in $((SECONDS - started)) s" >&2
touch "$prefix/.complete"
echo "$prefix"
