"""Debian's Chromium, headless, driven by Debian's Selenium: for the page's tests and measurements.
Without the background-networking flags Chromium keeps knocking on this machine's closed network."""
from selenium import webdriver
import selenium.webdriver.chrome.service


def start():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new --no-sandbox --disable-gpu --no-first-run --lang=zh-CN "
                 "--disable-background-networking --disable-component-update --disable-sync").split():
        options.add_argument(flag)
    service = selenium.webdriver.chrome.service.Service("/usr/bin/chromedriver")
    return webdriver.Chrome(service=service, options=options)
