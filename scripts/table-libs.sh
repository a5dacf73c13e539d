#!/usr/bin/env bash
# Builds, once, from Debian's own source packages, the libraries the table conversion needs where
# Debian's packages will not do: libxlsxwriter everywhere (Debian's deflates at zlib's default
# level, see below), expat for Windows (zlib comes from libz-mingw-w64-dev), and zlib, expat and
# the LZMA SDK's decoder for the page (Emscripten). On Linux, zlib and expat are Debian's packages.
# Usage: scripts/table-libs.sh linux|windows|web   Prints the folder the presets point at,
# ~/.cache/tongqiu/table-libs-<system>: a link to the build made with this script and its patch as
# they are now (named by their checksum), which is reused while they stay the same.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
system=$1
patch_file=$here/scripts/libxlsxwriter-deflate-level.patch
settings=$(cat "$here/scripts/table-libs.sh" "$patch_file" | sha256sum | cut -c1-12)
link=$HOME/.cache/tongqiu/table-libs-$system
prefix=$link-$settings
if [[ -f $prefix/.complete && -d $prefix/licenses ]]; then
    ln -sfn "$prefix" "$link"
    echo "$link"
    exit 0
fi

expat_settings=()
if [[ $system == linux ]]; then
    "$here/scripts/install-deps.sh" gcc zlib1g-dev cmake ninja-build patch >&2
    configure=(cmake -G Ninja)
    flags="-O2"
    zlib=()
    sources=(libxlsxwriter)
elif [[ $system == windows ]]; then
    "$here/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake ninja-build patch >&2
    configure=(cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake")
    flags="-O2"
    zlib=(-DZLIB_ROOT=/usr/x86_64-w64-mingw32)
    sources=(zlib expat libxlsxwriter)  # zlib for its licence
elif [[ $system == web ]]; then
    "$here/scripts/install-deps.sh" emscripten cmake ninja-build patch >&2
    configure=(emcmake cmake -G Ninja)
    # Built for size and for link-time optimisation with the page's own code, which drops what
    # the page does not call. No file system is needed for randomness: expat's hash salt is only
    # a defence against crafted files that collide its hash tables, which the parts' size cap
    # bounds too.
    flags="-Oz -flto -DXML_POOR_ENTROPY"
    # Without document type definitions (a workbook has none, and the reader refuses one) and
    # with one copy of the tokenizer.
    expat_settings=(-DEXPAT_DTD=OFF -DEXPAT_MIN_SIZE=ON)
    zlib=(-DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a")
    sources=(zlib expat libxlsxwriter lzma)
else
    echo "usage: scripts/table-libs.sh linux|windows|web" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tongqiu-libs.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
"$here/scripts/debian-source.sh" "${sources[@]}"
started=$SECONDS
mkdir -p "$prefix/include" "$prefix/lib" "$prefix/licenses"
# Their licences travel with the program that links them.
cp libxlsxwriter-*/License.txt "$prefix/licenses/libxlsxwriter.txt"
if [[ $system != linux ]]; then
    cp expat-*/expat/COPYING "$prefix/licenses/expat.txt"
    cp zlib-*/LICENSE "$prefix/licenses/zlib.txt"  # the same zlib as libz-mingw-w64-dev
fi

if [[ $system == web ]]; then
    # The LZMA SDK's decoder, which unpacks the engine the page carries packed.
    (cd lzma-*/C && emcc $flags -c LzmaDec.c && emar rcs "$prefix/lib/liblzmadec.a" LzmaDec.o &&
        mkdir -p "$prefix/include/lzma" && cp LzmaDec.h Types.h "$prefix/include/lzma/")
    echo "LZMA SDK $(basename lzma-*) (LzmaDec.c): placed in the public domain by Igor Pavlov." \
        >"$prefix/licenses/lzma-sdk.txt"
    (cd zlib-*/ && emcc $flags -c adler32.c crc32.c deflate.c inflate.c inftrees.c inffast.c \
        trees.c zutil.c && emar rcs "$prefix/lib/libz.a" ./*.o && cp zlib.h zconf.h "$prefix/include/")
fi

if [[ $system != linux ]]; then
    # The Debian patches test "#if XML_DTD == 1", which the CMake build defines empty.
    sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' expat-*/expat/expat_config.h.cmake
    "${configure[@]}" -S expat-*/expat -B expat-build -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$prefix" -DEXPAT_SHARED_LIBS=OFF \
        -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
        -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF -DEXPAT_DEV_URANDOM=OFF \
        "${expat_settings[@]}" >&2
    cmake --build expat-build >&2
    cmake --install expat-build >&2
fi

# The one change to Debian's libxlsxwriter: the deflate level (why, in the patch).
patch -d libxlsxwriter-*/ -p1 -s <"$patch_file"

# Numbers written without the C library's locale (the third-party dtoa).
"${configure[@]}" -S libxlsxwriter-*/ -B xlsxwriter-build -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DUSE_DTOA_LIBRARY=ON "${zlib[@]}" >&2
cmake --build xlsxwriter-build >&2
cmake --install xlsxwriter-build >&2

echo "Table libraries for $system built in $((SECONDS - started)) s" >&2
touch "$prefix/.complete"
ln -sfn "$prefix" "$link"
echo "$link"
