#!/usr/bin/env bash
# Unpacks the Debian source packages named, into the current folder, each at the newest version
# that the mirror still serves (security revisions are sometimes gone from it). A package may be
# given as NAME=VERSION. Prints the version taken of each to standard error.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh" dpkg-dev >&2

# Source packages need a deb-src entry for the suites the machine already uses.
if ! apt-get source --print-uris zlib >/dev/null 2>&1; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${sudo[@]}" tee /etc/apt/sources.list.d/tongqiu-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq >&2
fi

for package in "$@"; do
    if [[ $package == *=* ]]; then
        versions=${package#*=}
        package=${package%%=*}
    else
        versions=$(apt-cache showsrc "$package" | awk '/^Version:/ { print $2 }' | sort -rV | uniq)
    fi
    for version in $versions; do
        if apt-get source -qq "$package=$version" >/dev/null 2>&1; then
            echo "$package $version" >&2
            continue 2
        fi
    done
    echo "no version of the source package $package could be fetched" >&2
    exit 1
done
