"""Times a table of tubes through the page in headless Chromium: from choosing the file until
下载结果 is offered. Usage: web_table_time.py PAGE TABLE RUNS ROWS"""
import pathlib
import sys

import headless_chromium

page, table, runs = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2]), int(sys.argv[3])
browser = headless_chromium.start()
try:
    times = []
    for _ in range(runs):
        browser.get(page.as_uri())
        browser.execute_async_script("""
            const [done, file] = [arguments[0], document.getElementById('file')];
            const check = () => file.disabled ? setTimeout(check, 5) : done();
            check();""")
        browser.execute_script("""
            const file = document.getElementById('file');
            file.addEventListener('change', () => { window.started = performance.now(); });""")
        browser.find_element("id", "file").send_keys(str(table))
        times.append(browser.execute_async_script("""
            const done = arguments[0];
            const link = document.getElementById('download');
            const check = () => link.hidden ? setTimeout(check, 5) : done(performance.now() - window.started);
            check();"""))
    rows = sys.argv[4]
    print(f"{table.name}, {rows} rows ({table.stat().st_size / 1e6:.1f} MB) in the page: "
          f"best of {runs} {min(times) / 1000:.2f} s, all {[round(t) for t in times]} ms")
finally:
    browser.quit()
