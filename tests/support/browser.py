"""The page's server on the loopback address and a browser that opens it:
headless Chromium through chromedriver (Browser), Firefox ESR over WebDriver
BiDi with no driver between (Firefox), WebKitGTK's MiniBrowser through
WebKitWebDriver on an X display of its own (WebKit). What the browser tests
and the page's benchmark share. Whatever a browser started is stopped by
close(), and by its constructor when it fails half-way."""
import base64
import glob
import importlib.util
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.request

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
PATIENCE = 60  # seconds any browser or server gets to come up on a loaded machine



def runs_of(path):  # each run record of a file, as its text
    with open(path) as file:
        return ["vtrak-run" + run for run in file.read().split("vtrak-run")[1:]]


def run_link(run):  # the page's link to a run as the tools write it
    return "#run=" + run.replace(" ", ".").replace("\n", "~")


def wait_until(ready, what):
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        result = ready()
        if result:
            return result
        time.sleep(0.05)
    raise RuntimeError(f"{what} did not come up within {PATIENCE} s")


def stop_process(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Browser:
    """One headless Chromium with the page's server beside it."""
    @staticmethod
    def missing():
        return absent({"chromium": shutil.which("chromium"), "python3-selenium": found("selenium"),
                       "chromium-driver": shutil.which("chromedriver")})

    def __init__(self, site):
        self.stops = []  # what close() undoes, the last started first
        try:
            self.folder = tempfile.mkdtemp()
            self.stops.append(lambda: shutil.rmtree(self.folder, ignore_errors=True))
            server = subprocess.Popen(
                ["/usr/bin/python3", os.path.join(ROOT, "web", "serve.py"), site, "0"],
                stdout=subprocess.PIPE, text=True)
            self.stops.append(lambda: (stop_process(server), server.stdout.close()))
            self.address = server.stdout.readline().strip()
            if not self.address:
                raise RuntimeError("the page's server (web/serve.py) did not start")
            self.start()
        except BaseException:
            self.close()
            raise

    def close(self):
        while self.stops:
            try:
                self.stops.pop()()
            except Exception:  # the rest is stopped all the same
                pass

    def start(self):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-quic", "--window-size=800,700",
                     "--force-device-scale-factor=1", "--user-data-dir=" + self.folder):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(options=options,
                                       service=Service(shutil.which("chromedriver")))
        self.stops.append(self.driver.quit)

    def blank(self):
        """One tab with nothing loaded, so that no other tab holds the page's lock."""
        driver = self.driver
        for handle in driver.window_handles[1:]:
            driver.switch_to.window(handle)
            driver.close()
        driver.switch_to.window(driver.window_handles[0])
        driver.get("about:blank")

    def open(self, query=""):
        self.go(self.address + "index.html" + query)

    def go(self, address):
        self.driver.get(address)

    def value(self, expression):
        """The expression's value in the page; a promise's once it settles."""
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

    def after_frames(self, count):
        """Returns once the page has had COUNT more animation frames."""
        self.value(f"new Promise(done => {{ let left = {count}; const next = () =>"
                   f" --left > 0 ? requestAnimationFrame(next) : done(true);"
                   f" requestAnimationFrame(next); }})")

    def canvas_png(self, path):
        with open(path, "wb") as file:
            file.write(self.driver.find_element("id", "canvas").screenshot_as_png)


def found(module):
    return importlib.util.find_spec(module) is not None


def absent(packages):
    """The names of the Debian packages whose programs or modules were not found."""
    return [name for name, there in packages.items() if not there]


class Firefox(Browser):
    """Headless Firefox ESR, spoken to over WebDriver BiDi on its own socket."""
    @staticmethod
    def missing():
        return absent({"firefox-esr": shutil.which("firefox-esr"),
                       "python3-websocket": found("websocket")})

    def start(self):
        import websocket
        log = os.path.join(self.folder, "firefox.log")
        with open(log, "w") as output:
            firefox = subprocess.Popen(
                ["firefox-esr", "--headless", "--no-remote", "--profile", self.folder,
                 "--remote-debugging-port=0", "--width=800", "--height=700", "about:blank"],
                stdout=output, stderr=output)
        self.stops.append(lambda: stop_process(firefox))

        def listening():
            with open(log) as file:
                found = re.search(r"WebDriver BiDi listening on (ws://\S+)", file.read())
            if firefox.poll() is not None:
                raise RuntimeError(f"firefox-esr ended with {firefox.returncode}; see {log}")
            return found and found.group(1)
        # Firefox refuses a connection that names an origin.
        self.socket = websocket.create_connection(wait_until(listening, "firefox-esr") + "/session",
                                                  suppress_origin=True, timeout=PATIENCE)
        self.stops.append(self.socket.close)
        self.last_id = 0
        self.command("session.new", capabilities={})
        self.context = self.command("browsingContext.getTree")["contexts"][0]["context"]

    def command(self, method, **params):
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": params}))
        while True:  # events come between the answers; only ours counts
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.last_id:
                if answer.get("type") == "error":
                    raise RuntimeError(f"{method}: {answer.get('error')}: {answer.get('message')}")
                return answer["result"]

    def blank(self):
        self.go("about:blank")

    def go(self, address):
        self.command("browsingContext.navigate", context=self.context, url=address, wait="complete")

    def evaluate(self, expression):
        answer = self.command("script.evaluate", expression=expression,
                              target={"context": self.context}, awaitPromise=True)
        if answer["type"] == "exception":
            raise RuntimeError(f"{expression}: {answer['exceptionDetails']['text']}")
        return answer["result"]

    def value(self, expression):
        def plain(remote):
            found = remote.get("value")
            return [plain(item) for item in found] if remote["type"] == "array" else found
        return plain(self.evaluate(expression))

    def canvas_png(self, path):
        canvas = self.evaluate("document.getElementById('canvas')")
        shot = self.command("browsingContext.captureScreenshot", context=self.context,
                            clip={"type": "element", "element": {"sharedId": canvas["sharedId"]}})
        with open(path, "wb") as file:
            file.write(base64.b64decode(shot["data"]))


def minibrowser():
    return next(iter(sorted(glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser"))), None)


class WebKit(Browser):
    """WebKitGTK's MiniBrowser on an Xvfb of its own, driven through WebKitWebDriver.
    Its element screenshots of the canvas can come back partly black, so the
    canvas is read from the X screen where the window shows it."""
    @staticmethod
    def missing():
        return absent({"webkit2gtk-driver": shutil.which("WebKitWebDriver") and minibrowser(),
                       "xvfb": shutil.which("Xvfb"), "imagemagick": shutil.which("import"),
                       "python3-selenium": found("selenium")})

    def start(self):
        from selenium import webdriver
        from selenium.webdriver.webkitgtk.options import Options
        read, write = os.pipe()
        # A screen larger than the window MiniBrowser opens (1024 by 768 on
        # Debian 13), so that the canvas lies wholly on it.
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.stops.append(lambda: stop_process(xvfb))
        with os.fdopen(read) as display:
            self.display = ":" + display.readline().strip()
        if self.display == ":":
            raise RuntimeError("Xvfb did not start")
        with socket.socket() as probe:  # a free port for the driver
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        driver = subprocess.Popen(["WebKitWebDriver", f"--port={port}"],
                                  env=dict(os.environ, DISPLAY=self.display),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.stops.append(lambda: stop_process(driver))
        address = f"http://127.0.0.1:{port}"

        def answers():
            if driver.poll() is not None:
                raise RuntimeError(f"WebKitWebDriver ended with {driver.returncode}")
            try:
                with urllib.request.urlopen(address + "/status", timeout=5):
                    return True
            except OSError:
                return False
        wait_until(answers, "WebKitWebDriver")
        options = Options()
        options.binary_location = minibrowser()
        options.add_argument("--automation")
        self.driver = webdriver.Remote(command_executor=address, options=options)
        self.stops.append(self.driver.quit)

    def canvas_png(self, path):
        # The window fills the screen; the page sits below the toolbar, where
        # the window's outer height exceeds the page's.
        left, top, width, height = self.value(
            "(b => [b.left + screenX + outerWidth - innerWidth,"
            " b.top + screenY + outerHeight - innerHeight, b.width, b.height])("
            "document.getElementById('canvas').getBoundingClientRect())")
        subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                        f"{width:.0f}x{height:.0f}+{left:.0f}+{top:.0f}", "+repage", path],
                       check=True)


ENGINES = {"chromium": Browser, "firefox": Firefox, "webkit": WebKit}
