"""tongqiu-batch with workbooks that real spreadsheets wrote, and with files it must refuse.

Usage: workbook_test.py TONGQIU_BATCH
A sheet that LibreOffice saved gives the same rows as that sheet saved by LibreOffice as CSV "as
shown" and put through the CSV path, and the workbook written back shows, in LibreOffice, the
window's texts.
"""
import datetime
import io
import os
import pathlib
import pty
import resource
import subprocess
import sys
import tempfile
import unittest
import zipfile

import openpyxl

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import libreoffice  # noqa: E402

BATCH = pathlib.Path(sys.argv[1]).resolve()
OUR_ROWS = [  # 序号, 外径, 壁厚, 弯曲半径, and what the cells hold
    [1, 38, 4, 76],
    [2, 19.45, 2.675, 40],  # shown in 0.0 and 0.00: 19.5 and 2.68
    [3, "=2*19", 4, 76],  # the formula's stored result
    [4, "３８", "4", "76"],  # texts
    [5, 60, 5, 150],  # 150 in #,##0.00: 150.00
    [6, 38, 19, 76],  # fails
]


def make_workbook(path, formula=True):
    book = openpyxl.Workbook()
    book.active.title = "说明"
    book.active.append(["没有表头的一页"])
    sheet = book.create_sheet("管子")
    sheet.append(["通球试验记录"])
    sheet.append(["日期", datetime.date(2026, 12, 7)])
    sheet.append(["序号", "外径(mm)", "壁厚(mm)", "弯曲半径(mm)", "备注"])
    for row in OUR_ROWS:
        sheet.append(row if formula or row[0] != 3 else [3, 38, 4, 76])
    sheet["B5"].number_format = "0.0"
    sheet["C5"].number_format = "0.00"
    sheet["D8"].number_format = "#,##0.00"
    sheet["E4"].number_format = '0.0" mm"'  # a format not known here, in an empty cell's row
    sheet["E4"] = 1.5
    book.save(path)


def run(*args, stdout=subprocess.PIPE):
    return subprocess.run([str(BATCH), *map(str, args)], stdout=stdout, stderr=subprocess.PIPE,
                          check=False, text=True)


class Workbooks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = pathlib.Path(tempfile.mkdtemp())
        make_workbook(cls.folder / "made.xlsx")
        (cls.folder / "lo").mkdir()
        [cls.saved] = libreoffice.resave([cls.folder / "made.xlsx"], cls.folder / "lo")

    def out(self, name):
        return self.folder / name

    def test_a_saved_sheet_gives_what_its_csv_gives_and_shows_the_window_texts(self):
        computed = run("-o", self.out("out.xlsx"), self.saved)
        self.assertEqual(computed.returncode, 1, computed.stderr)
        self.assertNotIn("在此未知", computed.stderr)  # "0.0 mm" and a date are known
        [sheet_csv] = libreoffice.convert([self.saved], libreoffice.CSV_AS_SHOWN.format(sheet=2),
                                          self.folder)
        via_csv = run("-o", self.out("via.csv"), sheet_csv)
        self.assertEqual(via_csv.returncode, 1, via_csv.stderr)
        [shown] = libreoffice.shown([self.out("out.xlsx")], self.folder / "shown")
        expected = libreoffice.read_csv(self.out("via.csv"))
        self.assertEqual(len(shown), len(expected))
        for row, (ours, theirs) in enumerate(zip(shown, expected)):
            width = len(theirs)  # LibreOffice fills every row out to the sheet's width
            self.assertEqual(ours[:width], theirs, f"row {row + 1}")
        # Computed from the texts shown: 19.5 - 2 × 2.68, not 19.45 - 2 × 2.675.
        self.assertEqual(shown[4][:7], ["2", "19.5", "2.68", "40", "", "14.14", "2.051282"])
        self.assertEqual(shown[3][:8], ["1", "38", "4", "76", "1.5 mm", "30.00", "2.000000", "0.80"])
        self.assertEqual(shown[8][5:7] + shown[8][16:],
                         ["", "", "壁厚必须小于外径的一半，否则内径不大于 0。请修改后再计算。"])
        self.assertEqual(shown[5][5], "30.00")  # the formula's 38
        self.assertEqual(shown[6][5], "30.00")  # texts
        self.assertEqual(shown[7][3], "150.00")
        written = openpyxl.load_workbook(self.out("out.xlsx"))["管子"]
        self.assertEqual([cell.font.b for cell in written[3][:6]], [True] * 6)  # the header
        self.assertFalse(written["A4"].font.b)
        self.assertEqual(written.freeze_panes, "A4")

    def test_a_second_writer_shared_strings_and_its_own_formats_read_the_same(self):
        make_workbook(self.out("plain.xlsx"), formula=False)
        ours = run("-o", self.out("plain.csv"), self.out("plain.xlsx"))
        theirs = run("-o", self.out("saved.csv"), self.saved)
        self.assertEqual((ours.returncode, theirs.returncode), (1, 1))
        self.assertEqual(libreoffice.read_csv(self.out("plain.csv")),
                         libreoffice.read_csv(self.out("saved.csv")))

    def test_sheets_are_chosen_by_name(self):
        self.assertEqual(run("--sheet", "管子", "-o", self.out("a.csv"), self.saved).returncode, 1)
        wrong = run("--sheet", "管", "-o", self.out("b.csv"), self.saved)
        self.assertEqual(wrong.returncode, 2)
        self.assertIn("没有名为“管”的工作表；工作簿中有 “说明”、“管子”。", wrong.stderr)
        self.assertFalse(self.out("b.csv").exists())

    def refused(self, name, content, memory=None):
        """The message; with `memory`, the program may use no more address space than that."""
        folder = self.folder / name.replace(".", "-")
        folder.mkdir()
        (folder / name).write_bytes(content)
        limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (memory, memory))  # noqa: E731
        done = subprocess.run([BATCH, "-o", folder / "out.xlsx", folder / name], check=False,
                              capture_output=True, text=True, preexec_fn=limit if memory else None)
        self.assertEqual(done.returncode, 2, name)
        self.assertEqual(os.listdir(folder), [name], "nothing is left behind")
        return done.stderr

    def with_part(self, part, text):
        written = io.BytesIO()
        with zipfile.ZipFile(self.saved) as source, zipfile.ZipFile(written, "w",
                                                                    zipfile.ZIP_DEFLATED) as out:
            for item in source.infolist():
                if item.filename != part:
                    out.writestr(item, source.read(item))
            with out.open(part, "w", force_zip64=False) as file:
                for piece in text:
                    file.write(piece)
        return written.getvalue()

    def test_files_that_cannot_be_read_are_refused_with_nothing_written(self):
        compound = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(4096)
        whole = self.saved.read_bytes()
        cases = [
            ("old.xls", compound, "旧版 Excel 文件（.xls）：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV。"),
            ("locked.xlsx", compound + "EncryptedPackage".encode("utf-16-le"), "工作簿有密码保护"),
            ("cut.xlsx", whole[:len(whole) // 2], "ZIP 文件已损坏或不完整。"),
            ("bad.xlsx", self.with_part("xl/worksheets/sheet2.xml", [b"<worksheet><sheetData><row>"]),
             "xl/worksheets/sheet2.xml：XML 格式有误（第 1 行）"),
            ("none.xlsx", self.with_part("xl/workbook.xml", [
                b'<workbook><sheets><sheet name="A" r:id="rId1" xmlns:r="r"/></sheets></workbook>']),
             "没有表头"),
        ]
        for name, content, message in cases:
            with self.subTest(name):
                self.assertIn(message, self.refused(name, content))

    def test_a_zip_bomb_is_refused_while_inflating_in_little_memory(self):
        spaces = b" " * (1 << 24)
        bomb = self.with_part("xl/sharedStrings.xml", [b"<sst>"] + [spaces] * 65 + [b"</sst>"])
        self.assertLess(len(bomb), 4 << 20)
        # AddressSanitizer reserves terabytes of address space of its own.
        memory = None if b"__asan_init" in BATCH.read_bytes() else 128 << 20
        self.assertIn("xl/sharedStrings.xml：解压后过大，可能是恶意文件。",
                      self.refused("bomb.xlsx", bomb, memory))

    def test_a_workbook_is_not_written_to_a_terminal(self):
        terminal, other_end = pty.openpty()
        done = run(self.saved, stdout=terminal)
        os.close(terminal)
        os.close(other_end)
        self.assertEqual(done.returncode, 2)
        self.assertIn("工作簿不能写到终端", done.stderr)

    def test_the_record_widens_the_kind_alone(self):
        example = pathlib.Path(__file__).resolve().parents[2] / "docs" / "example.csv"
        self.assertLess(run("-o", self.out("kinds.xlsx"), example).returncode, 2)
        record = openpyxl.load_workbook(self.out("kinds.xlsx"))["通球记录"]
        self.assertEqual(record["G3"].value, "类型")
        widths = {column: record.column_dimensions[column].width for column in "FGH"}
        self.assertEqual(widths["G"], max(widths.values()))
        self.assertGreaterEqual(widths["G"], len("有弯头无拼接焊缝") * 2)  # two units a character

    def test_results_and_record_print_on_a4_across_with_the_header_on_every_page(self):
        table = self.out("long.csv")
        table.write_text("序号,外径,壁厚,弯曲半径(mm)\n" +
                         "".join(f"{i},{30 + i % 40},4,{100 + i}\n" for i in range(1, 1001)),
                         encoding="utf-8")
        self.assertEqual(run("-o", self.out("long.xlsx"), table).returncode, 0)
        book = openpyxl.load_workbook(self.out("long.xlsx"))
        self.assertEqual(book.sheetnames, ["通球", "通球记录"])
        for sheet in book.worksheets:
            setup = sheet.page_setup
            self.assertTrue(sheet.sheet_properties.pageSetUpPr.fitToPage)
            self.assertEqual((setup.orientation, setup.paperSize, setup.fitToWidth or 1,  # unsaid: 1
                              setup.fitToHeight), ("landscape", 9, 1, 0))
            self.assertTrue(sheet.print_options.gridLines)
        self.assertEqual(book["通球"].print_title_rows, "$1:$1")
        record = book["通球记录"]
        self.assertEqual(record.print_title_rows, "$1:$3")
        [rule] = record.data_validations.dataValidation
        self.assertEqual((rule.type, rule.formula1, str(rule.sqref)), ("list", '"合格,不合格"', "J4:J1003"))
        self.assertEqual(record["J3"].value, "结果")
        # The headings' row as tall as the balls' wrapped headings need: two lines of 15 points.
        self.assertEqual(record.row_dimensions[3].height, 30)

        [pdf] = libreoffice.convert([self.out("long.xlsx")], "pdf", self.folder / "pdf")
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
        pages = int(info.split("Pages:")[1].split()[0])
        width, height = map(float, info.split("Page size:")[1].split()[0:3:2])
        self.assertGreater(width, height, "landscape")
        balls = ["有拼接焊缝无弯头", "有弯头无拼接焊缝", "有弯头有拼接焊缝"]
        own = ["序号", "外径", "壁厚", "弯曲半径(mm)"]
        headings = {"results": own + ["内径", "R/Dw", "表10", "表10通球", "表11", "表11通球", "表12",
                                      "表12通球"] + balls + ["说明"],
                    "record": ["序号"] + own + balls + ["球号", "结果", "检验员", "日期"]}
        tubes = {"results": [], "record": []}
        for page in range(1, pages + 1):
            text = subprocess.run(["pdftotext", "-layout", "-f", str(page), "-l", str(page), pdf,
                                   "-"], capture_output=True, text=True, check=True).stdout
            lines = [line.split() for line in text.splitlines()]
            first = next(i for i, words in enumerate(lines) if words[:1] and words[0].isdigit())
            header = "".join("".join(words) for words in lines[:first])
            sheet = "record" if "球号" in header else "results"
            for heading in headings[sheet]:  # every character there, in order: nothing cut off
                rest = iter(header)
                self.assertTrue(all(c in rest for c in heading), f"{heading} on page {page}")
            tubes[sheet] += [int(words[0]) for words in lines[first:]
                             if words[:1] and words[0].isdigit()]
            self.assertIn(f"第 {page} 页，共 {pages} 页", text)
        self.assertEqual(tubes["results"], list(range(1, 1001)), "each tube once, in order")
        self.assertEqual(tubes["record"], list(range(1, 1001)), "each tube once, in order")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
