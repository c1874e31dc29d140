# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Opens a catalog page in headless Chromium (WebDriver) and prints, on one
line: the seconds from the start of the navigation until its table and
count show, then the milliseconds from typing QUERY until the count shows
the matches, for the first search (a second after the page has loaded) and
the median of five more.

Usage: catalog_browser.py PAGE QUERY
"""
import pathlib
import statistics
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / 'tests/app/cli/readers'))
import headless_chromium  # noqa: E402

# Notes when the count first shows, before the page's own script runs.
MARK = """
new MutationObserver(function (changes, observer) {
  var count = document.getElementById('count');
  if (count && count.hasAttribute('data-shown')) { window.usableAfter = performance.now(); observer.disconnect(); }
}).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-shown'] });
"""

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
    driver = headless_chromium.start()
    try:
        driver.set_page_load_timeout(600)
        driver.set_script_timeout(600)
        driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': MARK})
        driver.get(pathlib.Path(page).absolute().as_uri())
        loaded = driver.execute_script('return window.usableAfter') / 1000
        time.sleep(1)
        searches = []
        for _ in range(6):
            searches.append(driver.execute_async_script(SEARCH, query))
            driver.execute_async_script(SEARCH, '')
        print('%.3f %.1f %.1f' % (loaded, searches[0], statistics.median(searches[1:])))
    finally:
        driver.quit()


main()
