"""The page in a browser, found and used as a screen reader user would: by accessible names.

Usage: page_test.py PAGE ENGINE
ENGINE is chromium (headless) or webkit (WebKitGTK's MiniBrowser, on an X display such as Xvfb's).
Only what the page itself can get wrong is tested here; the calculation and the table conversion
are the C++ tests' business, which also run as WebAssembly under Node.
"""
import base64
import csv
import io
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
import selenium.webdriver.webkitgtk.options
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.common.print_page_options import PrintOptions
from selenium.webdriver.support.wait import WebDriverWait

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import headless_chromium  # noqa: E402
import libreoffice  # noqa: E402

PAGE = pathlib.Path(sys.argv[1]).resolve()
CHROMIUM = sys.argv[2] == "chromium"
EXAMPLE = pathlib.Path(__file__).resolve().parents[1] / "data" / "example.csv"
DOCS = pathlib.Path(__file__).resolve().parents[2] / "docs"  
RESULTS = ["内径", "R/Dw", "表10", "表10通球", "表11", "表11通球", "表12", "表12通球",
           "有拼接焊缝无弯头", "有弯头无拼接焊缝", "有弯头有拼接焊缝"]


def start_webkit():
    options = selenium.webdriver.webkitgtk.options.Options()
    options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
    options.add_argument("--automation")
    return webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = headless_chromium.start() if CHROMIUM else start_webkit()
        cls.folder = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.folder.cleanup()

    def setUp(self):
        self.open(PAGE)

    def open(self, page, ready=True):
        self.phone(360, 640)
        if CHROMIUM:
            self.browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})
        self.browser.get(page.as_uri())
        if ready:
            self.wait_for(lambda: self.named("计算").is_enabled())

    def phone(self, width, height):
        """A phone's screen; WebKitGTK's window is no narrower than its toolbar (447 px)."""
        if CHROMIUM:
            self.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
        else:
            self.browser.set_window_rect(width=width, height=height)

    def changed_page(self, before_scripts="", engine_start=""):
        """The page with a script before its own and code first in the engine's worker."""
        html = PAGE.read_text(encoding="utf-8")
        engine = '<script type="text/plain" id="engine">'
        html = html.replace(engine, f"<script>{before_scripts}</script>{engine}{engine_start}\n", 1)
        changed = pathlib.Path(self.folder.name) / "changed.html"
        changed.write_text(html, encoding="utf-8")
        return changed

    def wait_for(self, condition, seconds=20):
        return WebDriverWait(self.browser, seconds, poll_frequency=0.05).until(lambda _: condition())

    def all_named(self, name):
        found = []
        for element in self.browser.find_elements("css selector", "input, button, a, [role]"):
            try:
                found += [element] if element.accessible_name == name else []
            except WebDriverException:  # WebKitGTK names nothing that is not shown
                pass
        return found

    def named(self, name):
        """The one control whose accessible name is `name`."""
        found = self.all_named(name)
        self.assertEqual(len(found), 1, name)
        return found[0]

    def values(self, names):
        return [self.named(name).get_attribute("value") for name in names]

    def type_keys(self, *keys):
        ActionChains(self.browser).send_keys(*keys).perform()

    def compute(self, *texts):
        for name, text in zip(["外径", "壁厚", "弯曲半径"], texts):
            self.named(name).clear()
            self.named(name).send_keys(text)
        self.named("计算").click()

    def test_typed_key_by_key_on_a_phone(self):
        self.type_keys(Keys.TAB, "38", Keys.TAB, "4", Keys.TAB, "76")  # 外径, 壁厚, 弯曲半径
        self.assertEqual(self.values(["外径", "壁厚", "弯曲半径"]), ["38", "4", "76"])
        self.type_keys(Keys.ENTER)
        self.wait_for(lambda: self.named("有弯头有拼接焊缝").get_attribute("value"))
        self.assertEqual(self.values(RESULTS), [
            "30.00", "2.000000", "0.80", "24.00", "0.80", "24.00", "0.75", "22.50",
            "24.00", "24.00", "24.00"])
        # The balls to use are in view without scrolling, right under 计算.
        width, height = self.browser.execute_script("return [innerWidth, innerHeight]")
        answer = self.named("有弯头有拼接焊缝")
        self.assertEqual(self.browser.execute_script("return scrollY"), 0)
        self.assertLessEqual(answer.rect["y"] + answer.rect["height"], height)
        self.assertEqual(self.browser.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)"), [])
        # Nothing wider than the phone; every control big enough for a finger, no zoom on focus.
        self.assertLessEqual(self.browser.execute_script(
            "return document.documentElement.scrollWidth"), width)
        for element in self.browser.find_elements("css selector", "input, button"):
            if not element.is_displayed():  # 打印通球记录 until there is a table
                continue
            self.assertGreaterEqual(element.size["width"], 48, element.accessible_name)
            self.assertGreaterEqual(element.size["height"], 48, element.accessible_name)
            self.assertGreaterEqual(float(element.value_of_css_property("font-size")[:-2]), 16)

    def test_a_browser_that_cannot_run_the_engine_says_so_and_offers_nothing(self):
        for before_scripts, engine_start in [("delete window.WebAssembly;", ""),  # in the page
                                             ("", "self.WebAssembly = undefined;"),  # the worker
                                             ("", "throw new Error('stopped');")]:
            with self.subTest(before_scripts + engine_start):
                self.open(self.changed_page(before_scripts, engine_start), ready=False)
                alert = self.browser.find_element("css selector", "[role=alert]")
                self.assertRegex(self.wait_for(lambda: alert.text, seconds=10),
                                 "^此浏览器无法运行本页的计算。请用新版 Chrome.*tongqiu.exe")
                self.assertFalse(self.named("计算").is_enabled())
                self.assertFalse(self.named("选择 CSV 或 Excel 文件").is_enabled())

    def test_a_table_whose_worker_dies_says_so_and_the_page_goes_on(self):
        self.open(self.changed_page(engine_start=(
            "const post = postMessage; self.postMessage = (message, transfer) => {"
            " if (message.kind === 'converted') throw new Error('stopped');"
            " post(message, transfer); };")))
        self.assertEqual(self.convert(EXAMPLE),
                         "example.csv：计算中断，可能是内存不足。请把表分成几个较小的文件再试，"
                         "或用 tongqiu-batch。")
        self.assertEqual(self.all_named("下载结果"), [])
        self.wait_for(lambda: self.named("计算").is_enabled())
        self.compute("38", "4", "76")
        self.wait_for(lambda: self.named("有弯头有拼接焊缝").get_attribute("value") == "24.00")

    def test_a_failure_is_announced_beside_its_field_which_takes_the_focus(self):
        self.compute("60", "5", "150")
        self.wait_for(lambda: self.named("内径").get_attribute("value") == "50.00")
        self.compute("38", "四", "150")
        alert = self.browser.find_element("css selector", "[role=alert]")
        message = "输入的不是数字。\n请检查“壁厚”。"
        self.assertEqual(self.wait_for(lambda: alert.text), message)
        wall = self.named("壁厚")
        self.assertEqual(self.browser.switch_to.active_element, wall)
        self.assertEqual(wall.get_attribute("aria-invalid"), "true")
        described = wall.get_attribute("aria-describedby")
        self.assertEqual(self.browser.find_element("id", described).text, message)
        self.assertEqual(self.browser.execute_script(
            "const e = arguments[0]; return [e.selectionStart, e.selectionEnd]", wall), [0, 1])
        # The ratio was written before the wall was read; the inner diameter keeps its text.
        self.assertEqual(self.values(["R/Dw", "内径"]), ["3.947368", "50.00"])  # 150 / 38
        self.assertEqual(self.browser.execute_script("return document.querySelectorAll("
                                                     "'[aria-invalid]').length"), 1)

    def convert(self, path):
        self.named("选择 CSV 或 Excel 文件").send_keys(str(path))
        status = self.browser.find_element("id", "table-status")
        self.wait_for(lambda: "正在" not in status.text and status.text)
        return status.text

    def test_the_kit_is_remembered_its_balls_chosen_and_a_filled_record_checked(self):
        kit_status = self.browser.find_element("id", "kit-status")
        self.named("选择球库文件").send_keys(str(DOCS / "example-balls.csv"))
        self.wait_for(lambda: kit_status.text == "按球库“example-balls.csv”为每根管子选球。")
        self.open(PAGE)  # kept in this browser
        kit_status = self.browser.find_element("id", "kit-status")
        self.wait_for(lambda: kit_status.text == "按球库“example-balls.csv”为每根管子选球。")
        balls = self.browser.find_element("css selector", "table#kit-balls")
        self.assertEqual(balls.find_element("tag name", "caption").text, "example-balls.csv：40 个球")
        self.assertEqual([cell.text for cell in balls.find_elements("tag name", "tr")[13].find_elements(
            "tag name", "td")], ["T13", "24.00", "2026-06 复测"])
        self.convert(EXAMPLE)
        lines = self.saved("下载结果")[1].decode("utf-8").splitlines()
        self.assertTrue(lines[0].endswith(",有弯头有拼接焊缝,球号,球径,说明"), lines[0])
        self.assertTrue(lines[1].endswith(",24.00,T13,24.00" * 3 + ","), lines[1])
        self.assertEqual(self.convert(DOCS / "example-record-filled.xlsx"),
                         "example-record-filled.xlsx：共 10 根：合格 9，不合格 0，未检 1；问题 3 处。")
        problems = self.browser.find_element("css selector", "[aria-label=记录中的问题]")
        self.assertEqual([item.text for item in problems.find_elements("tag name", "li")], [
            "序号 2（图号 HS-102）：没有结果（未检）。",
            "序号 6（图号 HS-106）：球号 T01 的直径 15.00 小于所需的通球 42.90 mm。",
            "记录：“审核”没有签字。",
        ])
        self.assertEqual(self.all_named("下载结果"), [])
        self.named("清除球库").click()
        self.assertFalse(balls.is_displayed())
        self.open(PAGE)
        self.convert(EXAMPLE)
        lines = self.saved("下载结果")[1].decode("utf-8").splitlines()
        self.assertTrue(lines[0].endswith(",有弯头有拼接焊缝,说明"), lines[0])

    def test_a_table_in_either_encoding_downloads_as_utf8(self):
        text = EXAMPLE.read_text(encoding="utf-8")
        downloaded = []
        for encoding in ["utf-8", "gb18030"]:
            path = pathlib.Path(self.folder.name) / f"管子-{encoding}.csv"
            path.write_bytes(text.encode(encoding))
            self.assertEqual(self.convert(path), (
                f"{path.name}：共 10 行，1 行无法计算，第一处：{path.name} 第 11 行："
                "壁厚必须小于外径的一半，否则内径不大于 0。请修改后再计算。"))
            name, saved = self.saved("下载结果")
            self.assertEqual(name, f"管子-{encoding}-通球.csv")
            downloaded.append(saved)
        self.assertEqual(downloaded[0], downloaded[1])
        lines = downloaded[0].decode("utf-8").splitlines()
        self.assertTrue(lines[0].startswith("\ufeff序号,图号,外径(mm)"))
        self.assertTrue(lines[1].endswith(",30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,"
                                          "24.00,24.00,24.00,"), lines[1])

    def saved(self, name):
        """The file name a link offers, and the bytes it saves."""
        link = self.named(name)
        return link.get_attribute("download"), bytes(self.browser.execute_async_script(
            "const [link, done] = arguments; fetch(link.href).then((r) => r.arrayBuffer())"
            ".then((b) => done(Array.from(new Uint8Array(b))))", link))

    def test_a_workbook_comes_back_as_one_and_a_csv_also_as_one_shown_as_the_csv(self):
        folder = pathlib.Path(self.folder.name)
        self.assertTrue(self.convert(EXAMPLE.with_suffix(".xlsx")).startswith(
            "example.xlsx（工作表“example”）：共 10 行，1 行无法计算"))
        self.assertEqual(self.all_named("下载 Excel 表"), [])
        name, workbook = self.saved("下载结果")
        renamed = folder / "renamed.xlsx"
        with zipfile.ZipFile(EXAMPLE.with_suffix(".xlsx")) as source, zipfile.ZipFile(renamed, "w") as out:
            for item in source.infolist():  # the sheet's name is only in xl/workbook.xml
                out.writestr(item, source.read(item).replace(b'name="example"', 'name="管子:1"'.encode()))
        self.assertTrue(self.convert(renamed).endswith(
            "工作表名“管子:1”在工作簿中不能用，结果的工作表名改为“管子_1”。"))
        self.assertEqual(name, "example-通球.xlsx")
        (folder / "from-workbook.xlsx").write_bytes(workbook)
        self.convert(EXAMPLE)
        self.wait_for(lambda: self.all_named("下载 Excel 表"))  # made once the CSV is there
        name, from_csv = self.saved("下载 Excel 表")
        self.assertEqual(name, "example-通球.xlsx")
        (folder / "from-csv.xlsx").write_bytes(from_csv)
        expected = list(csv.reader(io.StringIO(self.saved("下载结果")[1].decode("utf-8-sig"))))
        for shown in libreoffice.shown([folder / "from-workbook.xlsx", folder / "from-csv.xlsx"],
                                       folder / "shown"):
            self.assertEqual([row[:len(theirs)] for row, theirs in zip(shown, expected)], expected)

    def test_a_file_that_cannot_be_read_offers_nothing_to_download(self):
        self.convert(EXAMPLE)
        broken = pathlib.Path(self.folder.name) / "broken.csv"
        broken.write_bytes('外径,壁厚,弯曲半径\n38,4,"76\n'.encode())
        self.assertEqual(self.convert(broken), "无法计算：broken.csv 第 2 行：引号没有闭合。")
        self.assertEqual(self.all_named("下载结果"), [])
        # A ZIP file with something before it is refused as the workbook it claims to be.
        prefixed = pathlib.Path(self.folder.name) / "prefixed.xlsx"
        prefixed.write_bytes(b"#!/bin/sh\n" + EXAMPLE.with_suffix(".xlsx").read_bytes())
        self.assertEqual(self.convert(prefixed), "无法计算：prefixed.xlsx：ZIP 文件已损坏或不完整。")
        huge = pathlib.Path(self.folder.name) / "huge.csv"
        with huge.open("wb") as file:
            file.truncate(100 * 1024 * 1024 + 1)
        self.assertTrue(self.convert(huge).startswith("huge.csv：文件超过 100 MB"))

    @unittest.skipUnless(CHROMIUM, "WebKitGTK's driver can neither print nor emulate print media")
    def test_prints_one_page_without_the_screen_furniture(self):
        self.compute("38", "4", "76")
        self.wait_for(lambda: self.named("内径").get_attribute("value"))
        options = PrintOptions()
        options.page_width, options.page_height = 21.0, 29.7
        pdf = base64.b64decode(self.browser.print_page(options))
        self.assertEqual(len(re.findall(rb"/Type\s*/Page\b", pdf)), 1)
        self.browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        shown = self.browser.execute_script(
            "return [...document.querySelectorAll('h1, p, button, input, a')]"
            ".filter(e => e.offsetParent !== null).map(e => e.textContent.trim() || e.id)")
        self.assertEqual(shown[0], "通球计算单")
        self.assertEqual(shown[-3:], ["试验结果：", "检验员：", "日期："])
        for hidden in ["计算", "打印", "file", "下载结果"]:
            self.assertNotIn(hidden, shown)
        # On paper the balls to use come last, after the coefficients.
        self.assertGreater(self.named("有拼接焊缝无弯头").rect["y"], self.named("表12通球").rect["y"])

    @unittest.skipUnless(CHROMIUM, "WebKitGTK's driver can neither print nor emulate print media")
    def test_a_tables_record_prints_across_with_its_headings_on_every_page(self):
        folder = pathlib.Path(self.folder.name)
        rows = "".join(f"{i},{30 + i % 40},4,{100 + i},有弯头无拼接焊缝\n" for i in range(1, 301))
        (folder / "tubes.csv").write_text("订单 A-17\n序号,外径,壁厚,弯曲半径,类型\n" + rows +
                                          "301,38,19,76,有弯头无拼接焊缝\n", encoding="utf-8")
        self.convert(folder / "tubes.csv")
        self.browser.execute_script("window.print = () => {};")  # the dialog, which a test cannot
        self.named("打印通球记录").click()
        printed = self.browser.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True})
        (folder / "record.pdf").write_bytes(base64.b64decode(printed["data"]))
        info = subprocess.run(["pdfinfo", folder / "record.pdf"], capture_output=True, text=True,
                              check=True).stdout
        width, height = map(float, info.split("Page size:")[1].split()[0:3:2])
        self.assertGreater(width, height, "landscape")
        tubes = []
        for page in range(1, int(info.split("Pages:")[1].split()[0]) + 1):
            words = [line.split() for line in subprocess.run(
                ["pdftotext", "-layout", "-f", str(page), "-l", str(page), folder / "record.pdf",
                 "-"], capture_output=True, text=True, check=True).stdout.splitlines()]
            self.assertIn(["序号", "序号", "外径", "壁厚", "弯曲半径", "类型", "选用通球", "球号", "结果",
                           "检验员", "日期"], words, f"the headings on page {page}")
            tubes += [int(line[0]) for line in words if line[:1] and line[0].isdigit()]
        self.assertEqual(tubes, list(range(1, 302)), "each tube once, in order")
        text = subprocess.run(["pdftotext", folder / "record.pdf", "-"], capture_output=True,
                              text=True, check=True).stdout
        for line in ["通球试验记录", "文件：tubes.csv", "订单 A-17", "壁厚必须小于外径的一半", "监检："]:
            self.assertIn(line, text)
        # A table too long to print here is sent to the workbook.
        (folder / "long.csv").write_text("外径,壁厚,弯曲半径\n" + "38,4,76\n" * 2001, encoding="utf-8")
        self.convert(folder / "long.csv")
        self.named("打印通球记录").click()
        self.assertIn("请下载 Excel 表", self.browser.find_element("id", "table-status").text)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
