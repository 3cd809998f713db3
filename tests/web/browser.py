"""What the browser tests share: a loopback HTTP server, Debian's headless
Chromium through chromedriver, polling, and the failures seen."""
import contextlib
import functools
import http.server
import os
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
# ActionChains and Keys are for the tests that import this.
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

class Checks:
    """check(run, what, ok, detail): failures printed; end() exits 1 if any."""

    def __init__(self, name):
        self.name, self.failures = name, []

    def __call__(self, run, what, ok, detail=""):
        if not ok:
            self.failures.append(f"{run}: {what} {detail}")
            print(f"{self.name} ({run}): FAILED {what} {detail}")

    def end(self, summary):
        if self.failures:
            sys.exit(1)
        print(f"{self.name}: {summary}")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serving(folder):
    """FOLDER over loopback HTTP: yields the address of its root."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}"
    finally:
        server.shutdown()


@contextlib.contextmanager
def opened(url, size=(1280, 960), downloads=None,
           autoplay="no-user-gesture-required"):
    """A headless Chromium window on URL, saving downloads in DOWNLOADS."""
    o = webdriver.ChromeOptions()
    if downloads:
        os.makedirs(downloads, exist_ok=True)
        o.add_experimental_option("prefs", {
            "download.default_directory": downloads,
            "download.prompt_for_download": False})
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu",
              f"--window-size={size[0]},{size[1]}", "--autoplay-policy=" + autoplay]:
        o.add_argument(a)
    o.binary_location = "/usr/bin/chromium"
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    try:
        d.get(url)
        yield d
    finally:
        d.quit()


def within(seconds, test):
    end = time.time() + seconds
    while time.time() < end:
        if test():
            return True
        time.sleep(0.1)
    return test()


def console_errors(d, logs):
    """The errors in LOGS and in what the console wrote since (added to LOGS)."""
    logs.extend(d.get_log("browser"))
    return [l["message"] for l in logs if l["level"] == "SEVERE"]


def ended(d, check, run):
    """The page reaches its ended state with exit code 0."""
    body = d.find_element(By.TAG_NAME, "body")
    check(run, "ended state after the box",
          within(10, lambda: body.get_attribute("data-state") == "ended"))
    code = body.get_attribute("data-exit-code")
    check(run, "exit code 0", code == "0", f"(got {code})")
