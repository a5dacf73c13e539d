"""A 通球记录 filled in at the bench and saved by LibreOffice, checked by tongqiu-batch --check.

Usage: filled_record_test.py TONGQIU_BATCH [--example PATH]
The record made from docs/example.csv with the kit docs/example-balls.csv is filled in by openpyxl
(results, names, dates as dates or texts, a dimension edited, a ball changed), its tubes sorted
backwards and one deleted, then saved again by LibreOffice Calc. Each kind of problem is planted
once; the check's words and exit status are compared whole. With --example, the filled record of
the user guide is written to PATH (three problems) instead.
"""
import datetime
import pathlib
import subprocess
import sys
import tempfile
import unittest

import openpyxl

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import libreoffice  # noqa: E402

BATCH = pathlib.Path(sys.argv[1]).resolve()
DOCS = pathlib.Path(__file__).resolve().parents[2] / "docs"
KIT = DOCS / "example-balls.csv"
FILLED_EXAMPLE = DOCS / "example-record-filled.xlsx"
DATE = datetime.date(2026, 12, 9)


def run(*args):
    return subprocess.run([str(BATCH), *map(str, args)], capture_output=True, text=True,
                          check=False)


def fill(folder, changes, sign):
    """The example's record, filled in: every tube 合格 by 王工 today, but for `changes` (序号 to
    {heading: value}, None to delete the row); the tubes sorted backwards; `sign` the lines to
    sign with a name. Saved again by LibreOffice; returns its path."""
    made = folder / "记录.xlsx"
    assert run("--balls", KIT, "-o", made, DOCS / "example.csv").returncode == 1  # tube 10
    book = openpyxl.load_workbook(made)
    sheet = book["通球记录"]
    rows = list(sheet.iter_rows())
    top = next(i for i, row in enumerate(rows) if row[0].value == "序号")
    column = {cell.value: i for i, cell in enumerate(rows[top])}  # the last of each name
    tubes = []
    for row in rows[top + 1:]:
        if not isinstance(row[0].value, int):
            continue
        values = [cell.value for cell in row]
        values[column["结果"]], values[column["检验员"]], values[column["日期"]] = "合格", "王工", DATE
        change = changes.get(values[0], {})
        if change is not None:
            for heading, value in change.items():
                values[column[heading]] = value
            tubes.append(values)
    for row, values in zip(rows[top + 1:], [*reversed(tubes), [None] * len(rows[top])]):
        for cell, value in zip(row, values):
            cell.value = value
    for row in rows:
        line = row[0].value
        if isinstance(line, str) and line.split("：")[0] in sign:
            row[0].value = line.replace("＿＿＿＿＿＿＿＿", "王工", 1)
    book.save(made)
    return libreoffice.resave([made], folder / "saved")[0]


class FilledRecord(unittest.TestCase):
    def test_each_problem_once_in_a_sorted_record_with_a_row_deleted(self):
        with tempfile.TemporaryDirectory() as folder:
            filled = fill(pathlib.Path(folder), {
                1: None,
                2: {"结果": None, "检验员": None, "日期": None},
                3: {"结果": "OK"},
                4: {"检验员": None},
                5: {"球号": "T99"},
                6: {"球号": "T01", "日期": "2026年12月9日"},
                7: {"壁厚(mm)": "3"},  # typed as text, and the ball it needs grows
                8: {"球号": "T40"},
                9: {"结果": "不合格"},
                10: {"结果": "不合格", "球号": None},
            }, sign={"检验员"})
            checked = run("--check", filled, "--balls", KIT)
        self.assertEqual(checked.returncode, 1, checked.stderr)
        self.assertEqual(checked.stdout.splitlines(), [
            f"{filled}：共 10 根：合格 5，不合格 2，未检 2；问题 10 处。",
            "序号 1：记录中没有这根管子（行已删除？），未检。",
            "序号 2（图号 HS-102）：没有结果（未检）。",
            "序号 3（图号 HS-103）：结果“OK”应为“合格”或“不合格”。",
            "序号 4（图号 HS-104）：有结果而没有检验员。",
            "序号 5（图号 HS-105）：球号“T99”不在球库中。",
            "序号 6（图号 HS-106）：球号 T01 的直径 15.00 小于所需的通球 42.90 mm。",
            "序号 7（图号 HS-107）：球号 T23 的直径 35.00 小于所需的通球 38.25 mm。",
            "序号 8（图号 HS-108）：球号 T40 的直径 76.00 不小于内径 35.00 mm，通不过。",
            "序号 10（图号 HS-110）：有结果而没有球号。",
            "记录：“审核”没有签字。",
            "另：“监检”没有签字（不是每种产品都需要监检）。",
        ])

    def test_a_record_filled_in_whole_passes(self):
        with tempfile.TemporaryDirectory() as folder:
            # The tube whose wall was mistyped, typed again at the bench and tested.
            filled = fill(pathlib.Path(folder), {10: {"壁厚(mm)": 4, "球号": "T13"}},
                          sign={"检验员", "审核", "监检"})
            checked = run("--check", filled, "--balls", KIT)
        self.assertEqual((checked.returncode, checked.stdout),
                         (0, f"{filled}：共 10 根：合格 10，不合格 0，未检 0；问题 0 处。\n"))

    def test_the_guides_example_has_three_problems(self):
        checked = run("--check", FILLED_EXAMPLE, "--balls", KIT)
        self.assertEqual(checked.returncode, 1)
        self.assertIn("问题 3 处。", checked.stdout.splitlines()[0])


if __name__ == "__main__":
    if "--example" in sys.argv:
        with tempfile.TemporaryDirectory() as scratch:
            saved = fill(pathlib.Path(scratch), {2: {"结果": None, "检验员": None, "日期": None},
                                                 6: {"球号": "T01"},
                                                 10: {"壁厚(mm)": 4, "球号": "T13"}},
                          sign={"检验员", "监检"})
            pathlib.Path(sys.argv[sys.argv.index("--example") + 1]).write_bytes(saved.read_bytes())
        sys.exit(0)
    unittest.main(argv=sys.argv[:1])
