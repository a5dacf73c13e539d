#!/usr/bin/env bash
# Writes a generated table of ROWS tubes, as a bill of materials holds them, to OUT: CSV, or a
# workbook when OUT ends in .xlsx (one sheet, numbers as numbers, texts inline, deflated).
# Outer diameters 20-120, walls 2-8, bend radii 0-400, a remark; every 50th row has a wall too
# thick to leave a bore and fails. Usage: scripts/tubes-table.sh ROWS OUT
set -euo pipefail
rows=$1
out=$(realpath "$2")
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh" gawk zip >/dev/null

rows_of() {  # $1: csv or xlsx; the header, then the tubes
    awk -v rows="$rows" -v format="$1" '
    function line(a, b, c, d, e) {
        if (format == "csv") { printf "%s,%s,%s,%s,%s\n", a, b, c, d, e; return }
        printf "<row r=\"%d\">%s%s%s%s%s</row>", ++r, cell(a), cell(b), cell(c), cell(d), cell(e)
    }
    function cell(v) {
        if (v ~ /^[0-9.]+$/) return "<c><v>" v "</v></c>"
        return "<c t=\"inlineStr\"><is><t>" v "</t></is></c>"
    }
    BEGIN {
        srand(20261207)
        line("序号", "外径(mm)", "壁厚(mm)", "弯曲半径(mm)", "备注")
        for (i = 1; i <= rows; ++i) {
            dw = 20 + int(rand() * 1000) / 10
            t = i % 50 == 0 ? dw : 2 + int(rand() * 60) / 10
            line(i, sprintf("%.1f", dw), sprintf("%.1f", t), int(rand() * 400), "批次 " i % 97)
        }
    }'
}

if [[ $out != *.xlsx ]]; then
    rows_of csv >"$out"
    exit 0
fi
parts=$(mktemp -d)
trap 'rm -rf "$parts"' EXIT
mkdir -p "$parts/_rels" "$parts/xl/_rels" "$parts/xl/worksheets"
main=http://schemas.openxmlformats.org
cat >"$parts/[Content_Types].xml" <<XML
<?xml version="1.0" encoding="UTF-8"?><Types xmlns="$main/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>
XML
cat >"$parts/_rels/.rels" <<XML
<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="$main/package/2006/relationships"><Relationship Id="rId1" Type="$main/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>
XML
cat >"$parts/xl/workbook.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="$main/spreadsheetml/2006/main" xmlns:r="$main/officeDocument/2006/relationships"><sheets><sheet name="管子" sheetId="1" r:id="rId1"/></sheets></workbook>
XML
cat >"$parts/xl/_rels/workbook.xml.rels" <<XML
<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="$main/package/2006/relationships"><Relationship Id="rId1" Type="$main/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>
XML
{
    printf '<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s/spreadsheetml/2006/main"><sheetData>' "$main"
    rows_of xlsx
    printf '</sheetData></worksheet>'
} >"$parts/xl/worksheets/sheet1.xml"
rm -f "$out"
(cd "$parts" && zip -q -X -r "$out" '[Content_Types].xml' _rels xl)
