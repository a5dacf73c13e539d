#!/usr/bin/env bash
# Makes ui/fonts/tongqiu-sans.otf: Noto Sans CJK SC (Debian's fonts-noto-cjk) cut down to the
# characters the program shows (every non-ASCII character in ui/ and in the failure messages), ASCII, the full-width forms and
# the CJK space and punctuation that input methods type. The whole font is a 20 MB collection
# whose loading dominated the program's start-up; the cut-down copy is about 50 KB. It is renamed
# "Tongqiu Sans" so that it never stands in for the system's full font. Run it again whenever a
# text in ui/ or a failure message gains a new character.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh fonts-noto-cjk python3-fonttools
source=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
index=$(fc-scan --format '%{index} %{family[0]}\n' "$source" | awk '$2 " " $3 " " $4 " " $5 == "Noto Sans CJK SC" { print $1 }')
texts=$(cat ui/*.ui ui/*.cpp calc/src/failure_message.cpp | grep -oP '[^\x00-\x7F]' | sort -u | tr -d '\n')

/usr/bin/python3 - "$source" "$index" "$texts" ui/fonts/tongqiu-sans.otf <<'PYTHON'
import sys
from fontTools import subset
from fontTools.ttLib import TTFont

source, index, texts, output = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
options = subset.Options()
options.name_IDs = ["*"]  # keep the copyright and the licence in the font
font = TTFont(source, fontNumber=index)
subsetter = subset.Subsetter(options)
unicodes = set(map(ord, texts)) | set(range(0x20, 0x7F)) | set(range(0xFF01, 0xFF5F))
subsetter.populate(unicodes=unicodes | {0x3000, 0x3001, 0x3002})
subsetter.subset(font)
for record in font["name"].names:
    if record.nameID in (1, 4, 16):
        record.string = "Tongqiu Sans"
    elif record.nameID in (3, 6):
        record.string = "TongqiuSans-Regular"
font["CFF "].cff.fontNames = ["TongqiuSans-Regular"]
font.save(output)
PYTHON
echo "ui/fonts/tongqiu-sans.otf: $(stat -c %s ui/fonts/tongqiu-sans.otf) bytes"
