"""Number formats as spreadsheets write them, shown as LibreOffice Calc (zh-CN) shows them.

Usage: number_formats_test.py TONGQIU_BATCH
A workbook that openpyxl writes holds a row for each format code: the code, 外径 (38.004) in the
code's format (a day of 2026 for dates and times), 壁厚 4, 弯曲半径 76, and more values in the format. Each cell that tongqiu-batch
shows is the text LibreOffice's CSV "as shown" gives; the workbook it writes shows the same texts
in LibreOffice; 外径 is read as the number it shows, or refused where it shows no length.
"""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

import openpyxl

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import libreoffice  # noqa: E402

BATCH = pathlib.Path(sys.argv[1]).resolve()
NUMBERS = [-1234.567, 0, 0.3, 3000]
# Times whose seconds have no fraction of a half or more: LibreOffice cuts off what Excel rounds.
DATES = [46359.125, 61, 0.3, 46000.75]
N, PERCENT, FRACTION, DATE, TIME, OTHER = "number", "percent", "fraction", "date", "time", "other"
CORPUS = [
    (N, "General"), (N, "0"), (N, "0.00"), (N, "#,##0"), (N, "#,##0.00"), (N, "0.00_ "),
    (N, "0.00_);(0.00)"), (N, "0.00_);[Red](0.00)"), (N, "#,##0.00_ ;[Red]-#,##0.00 "),
    (N, '0.0"mm"'), (N, '0.0 "mm"'), (N, "0_);(0)"), (N, "0.00;-0.00;0.00"),
    (N, '0.00;(0.00);"-"'), (N, "#,##0;(#,##0)"), (N, "[<=99]0.0;0"),
    (OTHER, '[>=100]"大";[<0]"负";0.00'), (N, "0;-0;;@"), (N, "¥#,##0.00"),
    (N, "[$¥-804]#,##0.00"), (N, '"¥"#,##0.00;"¥"\\-#,##0.00'),
    (N, '_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * "-"??_ ;_ @_ '),
    (N, '_ ¥* #,##0_ ;_ ¥* \\-#,##0_ ;_ ¥* "-"_ ;_ @_ '), (N, "00000"), (N, "#.##"), (N, "#"),
    (OTHER, "0.0,"), (OTHER, "#,##0.0,,"), (N, "0.0#"), (N, "\\(0.0\\)"), (N, "0.00*-"),
    (N, "[Color10]0.00"), (N, "[Blue]#,##0"), (OTHER, "000-0000"), (PERCENT, "0%"),
    (PERCENT, "0.00%"), (PERCENT, "0.0%"), (N, "0.00E+00"), (N, "0.0E+00"), (N, "##0.0E+0"),
    (N, "0.000E+00"), (FRACTION, "# ?/?"), (FRACTION, "# ??/??"), (FRACTION, "?/?"),
    (FRACTION, "0 ?/?"), (FRACTION, "# ?/8"), (FRACTION, "# ??/100"), (N, "@"),
    (OTHER, "[DBNum1]General"), (OTHER, "[DBNum2]General"), (OTHER, "[DBNum3]General"),
    (OTHER, "[DBNum1]0"), (OTHER, "[DBNum2]0.00"),
    (DATE, 'yyyy"年"m"月"d"日"'), (DATE, '[$-804]yyyy"年"m"月"d"日"'), (DATE, "yyyy-mm-dd"),
    (DATE, "yyyy/m/d"), (DATE, 'yyyy"年"m"月"'), (DATE, 'm"月"d"日"'), (DATE, "d-mmm-yy"),
    (DATE, "mmm-yy"), (DATE, "mmmm"), (DATE, "yyyy-mm-dd hh:mm:ss"), (DATE, "m/d/yy h:mm"),
    (DATE, "aaaa"), (DATE, "aaa"), (DATE, "dddd"), (DATE, 'yyyy"年"m"月"d"日" aaaa'),
    (DATE, '[DBNum1][$-804]yyyy"年"m"月"d"日"'), (DATE, '[DBNum2]yyyy"年"m"月"d"日"'),
    (DATE, '[DBNum3]yyyy"年"m"月"d"日"'), (TIME, "h:mm"), (TIME, "h:mm:ss"), (TIME, "hh:mm:ss"),
    (TIME, "h:mm AM/PM"), (TIME, "h:mm:ss AM/PM"), (TIME, "[h]:mm:ss"), (TIME, "[mm]:ss"),
    (TIME, "[ss]"), (TIME, "mm:ss"), (TIME, "mm:ss.0"), (TIME, 'h"时"mm"分"'),
    (TIME, 'h"时"mm"分"ss"秒"'),
]
WIDTH = 4 + len(NUMBERS)  # 代码, 外径, 壁厚, 弯曲半径, the values


def number_shown(text):
    """The number a text shows, grouping, currency and units dropped (外径 is positive)."""
    match = re.search(r"\d[\d,]*(\.\d*)?(E[+-]\d+)?|\.\d+", text)
    return float(match.group(0).replace(",", ""))


class NumberFormats(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = pathlib.Path(tempfile.mkdtemp())
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "格式"
        sheet.append(["代码", "外径", "壁厚", "弯曲半径"] + [f"值{i + 1}" for i in range(len(NUMBERS))])
        for row, (family, code) in enumerate(CORPUS, start=2):
            dated = family in (DATE, TIME)
            sheet.append([code, DATES[0] if dated else 38.004, 4, 76] + (DATES if dated else NUMBERS))
            for column in [2] + list(range(5, WIDTH + 1)):
                sheet.cell(row, column).number_format = code
        book.save(cls.folder / "formats.xlsx")
        cls.theirs = libreoffice.shown([cls.folder / "formats.xlsx"], cls.folder / "theirs")[0]

    def batch(self, output):
        result = subprocess.run([str(BATCH), "-o", str(self.folder / output),
                                 str(self.folder / "formats.xlsx")], capture_output=True, text=True,
                                check=False)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertNotIn("未知", result.stderr)  # every code known
        return self.folder / output

    def test_each_cell_shows_what_libreoffice_shows(self):
        ours = libreoffice.read_csv(self.batch("ours.csv"))
        self.assertEqual(len(ours), len(CORPUS) + 1)
        for row in range(1, len(ours)):
            self.assertEqual(ours[row][:WIDTH], self.theirs[row][:WIDTH], CORPUS[row - 1][1])

    def test_the_workbook_written_shows_the_same_in_libreoffice(self):
        written = libreoffice.shown([self.batch("ours.xlsx")], self.folder / "written")[0]
        for row in range(1, len(CORPUS) + 1):
            self.assertEqual(written[row][:WIDTH], self.theirs[row][:WIDTH], CORPUS[row - 1][1])

    def test_a_dimension_is_the_number_shown_or_refused(self):
        ours = libreoffice.read_csv(self.batch("dimensions.csv"))
        for row, (family, code) in enumerate(CORPUS, start=1):
            shown, inner, explanation = self.theirs[row][1], ours[row][WIDTH], ours[row][-1]
            if family in (PERCENT, FRACTION, DATE, TIME):
                kind = {PERCENT: "百分比", FRACTION: "分数", DATE: "日期", TIME: "时间"}[family]
                self.assertEqual(explanation, f"外径显示为{kind} {shown}，不是尺寸。", code)
            elif family == N:
                self.assertEqual(inner, f"{number_shown(shown) - 8:.2f}", code)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
