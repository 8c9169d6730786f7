"""Headless Chromium driven through chromedriver, with the page's server
beside it on the loopback address: what the browser tests and the page's
benchmark share."""
import os
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


class Browser:
    """One headless Chromium with the page's server beside it."""

    def __init__(self, site):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        self.folder = tempfile.mkdtemp()
        self.server = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(ROOT, "web", "serve.py"), site, "0"],
            stdout=subprocess.PIPE, text=True)
        self.address = self.server.stdout.readline().strip()
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-quic", "--window-size=800,700",
                     "--force-device-scale-factor=1", "--user-data-dir=" + self.folder):
            options.add_argument(flag)
        service = Service(shutil.which("chromedriver"))
        self.driver = webdriver.Chrome(options=options, service=service)

    def close(self):
        self.driver.quit()
        self.server.terminate()
        self.server.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def open(self, query=""):
        self.driver.get(self.address + "index.html" + query)

    def value(self, expression):
        return self.driver.execute_script("return " + expression)

    def wait_for(self, expression, seconds=30):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            result = self.value(expression)
            if result:
                return result
            time.sleep(0.05)
        raise AssertionError(f"the page never had {expression}; it says: "
                             + str(self.value("document.getElementById('status').textContent")))

    def steps(self):
        return self.value("Module.vtrakSteps || 0")

    def canvas_png(self, path):
        with open(path, "wb") as file:
            file.write(self.driver.find_element("id", "canvas").screenshot_as_png)
