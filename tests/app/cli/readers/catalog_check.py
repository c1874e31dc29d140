# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Opens a catalog page in headless Chromium through WebDriver, types into
its search box and clicks a column header as a user would, and prints what
the page then shows, one JSON value a line:
  the count text with nothing typed,
  [shown, count text] after typing QUERY,
  the names in view after clearing the box and clicking HEADER,
  the names in view after clicking HEADER again.

Usage: catalog_check.py PAGE QUERY HEADER
Any failure to start the browser or to find an element is an error (exit 1).
"""
import json
import pathlib
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

import headless_chromium


def main():
    page, query, header = sys.argv[1:4]
    driver = headless_chromium.start()
    try:
        driver.get(pathlib.Path(page).absolute().as_uri())
        wait = WebDriverWait(driver, 20)
        count = driver.find_element(By.ID, 'count')
        wait.until(lambda d: count.get_attribute('data-shown'))
        total = count.get_attribute('data-shown')
        print(json.dumps(count.text))

        search = driver.find_element(By.ID, 'search')
        search.send_keys(query)
        wait.until(lambda d: count.get_attribute('data-shown') != total)
        print(json.dumps([int(count.get_attribute('data-shown')), count.text]))

        search.send_keys(Keys.CONTROL, 'a')
        search.send_keys(Keys.BACKSPACE)
        wait.until(lambda d: count.get_attribute('data-shown') == total)

        def names():
            cells = driver.find_elements(By.CSS_SELECTOR, '#rows > .row:not([hidden]) > .name')
            return [cell.get_attribute('textContent') for cell in cells]

        button = driver.find_element(By.XPATH, "//div[@id='head']/button[normalize-space()='%s']" % header)
        for sort in ('ascending', 'descending'):
            button.click()
            wait.until(lambda d: button.get_attribute('aria-sort') == sort)
            print(json.dumps(names(), ensure_ascii=False))
    finally:
        driver.quit()


main()
