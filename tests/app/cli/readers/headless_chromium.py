# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Debian's Chromium, headless, driven through its WebDriver, as the
readers and benchmarks of web pages start it."""
from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def start():
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1280,1024',
                     '--disable-dev-shm-usage', '--no-first-run', '--disable-extensions',
                     '--disable-background-networking', '--disable-component-update'):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
