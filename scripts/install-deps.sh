#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that building, testing and running the program need,
# when they are missing. Extra package names may be given as arguments.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev libfontconfig-dev libx11-dev
    fonts-noto-cjk pandoc help2man zlib1g-dev libexpat1-dev
    libreoffice-calc-nogui fonts-crosextra-carlito poppler-utils python3-openpyxl "$@")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
