"""Times a generated table of tubes through the page in headless Chromium: from choosing the file
until 下载结果 is offered. Usage: web_table_time.py PAGE ROWS RUNS"""
import pathlib
import sys
import tempfile

from selenium import webdriver
import selenium.webdriver.chrome.service

page, rows, runs = pathlib.Path(sys.argv[1]).resolve(), int(sys.argv[2]), int(sys.argv[3])
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync"]:
    options.add_argument(flag)
browser = webdriver.Chrome(service=selenium.webdriver.chrome.service.Service("/usr/bin/chromedriver"),
                           options=options)
try:
    with tempfile.TemporaryDirectory() as folder:
        table = pathlib.Path(folder) / "tubes.csv"
        lines = ["序号,外径,壁厚,弯曲半径"]
        lines += [f"{i},{25 + i % 90},{2 + i % 5}.5,{40 + i % 300}" for i in range(rows)]
        table.write_text("\n".join(lines) + "\n", encoding="utf-8")
        times = []
        for _ in range(runs):
            browser.get(page.as_uri())
            browser.execute_async_script("""
                const [done, file] = [arguments[0], document.getElementById('file')];
                const check = () => file.disabled ? setTimeout(check, 5) : done();
                check();""")
            browser.execute_script("""
                const file = document.querySelector('input[type=file]');
                file.addEventListener('change', () => { window.started = performance.now(); });""")
            browser.find_element("css selector", "input[type=file]").send_keys(str(table))
            times.append(browser.execute_async_script("""
                const done = arguments[0];
                const link = document.getElementById('download');
                const check = () => link.hidden ? setTimeout(check, 5) : done(performance.now() - window.started);
                check();"""))
        print(f"{rows} rows ({table.stat().st_size / 1e6:.1f} MB) in the page: "
              f"best of {runs} {min(times) / 1000:.2f} s, all {[round(t) for t in times]} ms")
finally:
    browser.quit()
