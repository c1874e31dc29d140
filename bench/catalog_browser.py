# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Opens a catalog page in headless Chromium (WebDriver) and prints, on one
line: the seconds from asking for the page until its table and count show,
then the milliseconds from typing QUERY until the count shows the matches,
for the first search and the median of five more.

Usage: catalog_browser.py PAGE QUERY
"""
import pathlib
import statistics
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# Types the query as an input event and waits, frame by frame, for the count
# to change; answers the milliseconds taken.
SEARCH = """
const [query, done] = arguments;
const search = document.getElementById('search'), count = document.getElementById('count');
const before = count.getAttribute('data-shown'), start = performance.now();
search.value = query;
search.dispatchEvent(new Event('input'));
(function wait() {
  if (count.getAttribute('data-shown') !== before) done(performance.now() - start);
  else requestAnimationFrame(wait);
})();
"""


def main():
    page, query = sys.argv[1:3]
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1280,1024',
                     '--disable-dev-shm-usage', '--no-first-run', '--disable-extensions',
                     '--disable-background-networking', '--disable-component-update'):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    try:
        driver.set_page_load_timeout(600)
        driver.set_script_timeout(600)
        start = time.monotonic()
        driver.get(pathlib.Path(page).absolute().as_uri())
        while not driver.execute_script("return document.getElementById('count').getAttribute('data-shown')"):
            time.sleep(0.01)
        loaded = time.monotonic() - start
        searches = []
        for _ in range(6):
            searches.append(driver.execute_async_script(SEARCH, query))
            driver.execute_async_script(SEARCH, '')
        print('%.3f %.1f %.1f' % (loaded, searches[0], statistics.median(searches[1:])))
    finally:
        driver.quit()


main()
