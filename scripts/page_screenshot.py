"""The page on a phone after a calculation of 38, 4 and 76, whole, as a picture for the README and
the user guide. Usage: page_screenshot.py PAGE PNG   (after scripts/web.sh --build)"""
import pathlib
import sys

from selenium.webdriver.support.wait import WebDriverWait

import headless_chromium

page, picture = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2]
browser = headless_chromium.start()
try:
    def phone(height):
        browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 360, "height": height, "deviceScaleFactor": 1, "mobile": True})
    phone(640)
    browser.get(page.as_uri())
    WebDriverWait(browser, 20).until(lambda _: browser.find_element("id", "Command1").is_enabled())
    for field, text in [("Text1", "38"), ("Text2", "4"), ("Text3", "76")]:
        browser.find_element("id", field).send_keys(text)
    browser.find_element("id", "Command1").click()
    WebDriverWait(browser, 20).until(lambda _: browser.find_element("id", "Text6").get_attribute("value"))
    browser.execute_script("document.activeElement.blur()")
    phone(browser.execute_script("return document.documentElement.scrollHeight"))
    browser.save_screenshot(picture)
finally:
    browser.quit()
