"""The window, the page and the tables name each result alike.

Usage: captions_test.py SOURCE_FOLDER
A table's headings come from the one list of result columns (calc's result_columns.h); the window's
form and the page's HTML carry their own captions, which must agree with it. In the window the
three balls by table stand beside their coefficients under a short "通球".
"""
import pathlib
import re
import sys
import unittest
import xml.etree.ElementTree as ElementTree

SOURCE = pathlib.Path(sys.argv[1])


def headings():
    return dict(re.findall(r'\{FieldName::(Text\d+), "([^"]+)"',
                           (SOURCE / "calc/include/tongqiu/result_columns.h").read_text("utf-8")))


def window_captions():
    captions = {}
    for widget in ElementTree.parse(SOURCE / "ui/form1.ui").iter("widget"):
        properties = {p.get("name"): p for p in widget.findall("property")}
        if widget.get("class") == "QLabel" and "buddy" in properties:
            captions[properties["buddy"].findtext("cstring")] = \
                properties["text"].findtext("string").strip()
    return captions


class Captions(unittest.TestCase):
    def test_the_page_and_the_window_name_each_result_as_the_tables_do(self):
        expected = headings()
        page = dict(re.findall(r'<label for="(Text\d+)">([^<]+)</label>',
                               (SOURCE / "web/page.html").read_text(encoding="utf-8")))
        window = window_captions()
        # Each source read as it is written: a pattern that stops matching finds nothing to check.
        self.assertEqual(len(expected), 11)
        self.assertEqual(len(page), 14)  # the three inputs too
        self.assertEqual(len(window), 14)
        for field, heading in expected.items():
            with self.subTest(field):
                self.assertEqual(page[field], heading)
                coefficient = {"Text13": "Text8", "Text14": "Text9", "Text15": "Text10"}.get(field)
                shown = window[coefficient] + window[field] if coefficient else window[field]
                self.assertEqual(shown, heading)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
