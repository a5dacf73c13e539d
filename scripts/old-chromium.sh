#!/usr/bin/env bash
# Brings the two old Blink engines the page is tested in, headless Chromium 86 (what 360 浏览器
# runs on Windows 7) and Chromium 109 (the last Chrome for Windows 7), and puppeteer-core 5.3.1,
# which speaks their DevTools protocol. The browsers come as brotli files inside npm packages; each
# is unpacked once into ~/.cache/tongqiu/old-chromium/VERSION (or $TONGQIU_CACHE) and reused.
# Prints the cache folder.
set -euo pipefail

cache=${TONGQIU_CACHE:-$HOME/.cache/tongqiu}/old-chromium

# An npm package in a folder of its own, with its own package.json, so that npm climbs to no parent.
install_package() {
    local folder=$cache/npm/$1 package=$2
    [[ -f $folder/done ]] && return
    rm -rf "$folder" && mkdir -p "$folder"
    echo '{ "private": true }' >"$folder/package.json"
    npm install --prefix "$folder" --no-audit --no-fund --ignore-scripts --legacy-peer-deps \
        --loglevel=error "$package" >/dev/null
    touch "$folder/done"
}

# Unpacks the browser in bin/ of an installed package into $cache/VERSION.
unpack_browser() {
    local version=$1 bin=$2 target=$cache/$1
    [[ -x $target/chromium ]] && return
    rm -rf "$target" && mkdir -p "$target"
    local unbrotli='process.stdout.write(require("zlib").brotliDecompressSync(require("fs").readFileSync(process.argv[1])))'
    for archive in aws swiftshader; do
        node -e "$unbrotli" "$bin/$archive.tar.br" | tar -x -C "$target"
    done
    node -e "$unbrotli" "$bin/chromium.br" >"$target/chromium.part"
    chmod +x "$target/chromium.part" && mv "$target/chromium.part" "$target/chromium"
}

command -v npm >/dev/null || "$(dirname "$0")/install-deps.sh" npm >/dev/null
install_package puppeteer puppeteer-core@5.3.1
install_package chromium-86 chrome-aws-lambda@5.3.1
install_package chromium-109 @sparticuz/chromium@109.0.0
unpack_browser 86 "$cache/npm/chromium-86/node_modules/chrome-aws-lambda/bin"
unpack_browser 109 "$cache/npm/chromium-109/node_modules/@sparticuz/chromium/bin"
echo "$cache"
