#!/usr/bin/env bash
# Builds the .deb package, checks what it holds and what it depends on, has lintian check it,
# installs it, starts the installed program headless, and removes the package again.
set -euo pipefail
source "$(dirname "$0")/common.sh"

scripts/install-deps.sh dpkg-dev desktop-file-utils lintian pandoc help2man
configure release >/dev/null
cmake --build --preset release --target tongqiu tongqiu-batch tongqiu_guide tongqiu_debian_files
scripts/web.sh --build >/dev/null
rm -f build/release/tongqiu_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/tongqiu_*.deb)
lintian --fail-on error,warning "$deb"

desktop-file-validate packaging/tongqiu.desktop
contents=$(dpkg-deb --contents "$deb")
depends=$(dpkg-deb --field "$deb" Depends)
recommends=$(dpkg-deb --field "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
status=0
for path in ./usr/bin/tongqiu ./usr/bin/tongqiu-batch ./usr/share/applications/tongqiu.desktop \
    ./usr/share/icons/hicolor/scalable/apps/tongqiu.svg ./usr/share/tongqiu/tongqiu.html \
    ./usr/share/tongqiu/使用说明.html ./usr/share/man/man1/tongqiu.1.gz \
    ./usr/share/man/man1/tongqiu-batch.1.gz ./usr/share/doc/tongqiu/copyright; do
    grep -q " $path\$" <<<"$contents" || { echo "missing from the package: $path"; status=1; }
done
for package in libqt6widgets6 qt6-qpa-plugins; do
    grep -q "$package" <<<"$depends" || { echo "no dependency on $package"; status=1; }
done
grep -q fonts-noto-cjk <<<"$recommends" || { echo "fonts-noto-cjk not recommended"; status=1; }
[[ $status -eq 0 ]] || exit 1

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./$deb" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq tongqiu >/dev/null' EXIT
# Started as the desktop menu starts it, the program must still be running after two seconds.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/tongqiu.desktop)
set +e
QT_QPA_PLATFORM=offscreen timeout 2 $exec_line
started=$?
set -e
[[ $started -eq 124 ]] || { echo "the installed program did not start (exit $started)"; exit 1; }
# The installed batch program computes the example table: one of its ten tubes fails.
computed=$(mktemp)
batch_status=0
/usr/bin/tongqiu-batch -o "$computed" docs/example.csv 2>/dev/null || batch_status=$?
rows=$(wc -l <"$computed")
rm -f "$computed"
[[ $batch_status -eq 1 && $rows -eq 11 ]] ||
    { echo "the installed tongqiu-batch did not compute the example (exit $batch_status)"; exit 1; }
echo "package ok: $deb"
