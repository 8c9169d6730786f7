#!/usr/bin/python3
"""The page in a real browser, against the page served from build-web/site on
the loopback address: every case in headless Chromium; the frames against the
simulator's also in Firefox ESR and in WebKitGTK.

    browser_test.py SITE VTRAK_TOOL BGM_WAV [chromium|firefox|webkit]

Exits 77 (skipped) when the page is not built or the engine is not installed.
"""
import http.client
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
PERSON_LIB = os.path.join(HERE, "..", "person", "lib.sh")
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from browser import ENGINES, run_link, runs_of  # noqa: E402
SITE, TOOL, BGM, ENGINE = (sys.argv[1:5] + [None] * 3 + ["chromium"])[:4]
STATUS = "document.getElementById('status').textContent"


def skip_unless_ready():
    if len(sys.argv) not in (4, 5) or ENGINE not in ENGINES:
        sys.exit(__doc__)
    missing = ENGINES[ENGINE].missing()
    if not os.path.isfile(os.path.join(SITE, "vtrak.wasm")):
        missing.insert(0, "the page (bash scripts/web.sh --build-only)")
    if missing:
        print("SKIP: missing " + ", ".join(missing))
        sys.exit(77)


class OwnServer:
    """The page served on an address of its own: an origin that no other case
    has given a worker, kept files or remembered settings."""

    def __init__(self):
        self.process = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "..", "..", "web",
                                         "serve.py"), SITE, "0"], stdout=subprocess.PIPE, text=True)
        self.address = self.process.stdout.readline().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait()
        self.process.stdout.close()


def differing_pixels(a, b):
    run = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                         text=True)
    return int(float(run.stderr.split()[0]))


def read_text(image):
    run = subprocess.run(["bash", "-c", 'source "$0" && read_text "$1"', PERSON_LIB, image],
                         capture_output=True, text=True, check=True)
    return run.stdout.replace("！", "!").replace("？", "?").splitlines()


def edit_distance(a, b):
    row = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        previous, row[0] = row[0], i
        for j, y in enumerate(b, 1):
            previous, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, previous + (x != y))
    return row[-1]


class PageTest(unittest.TestCase):
    browser = None

    @classmethod
    def setUpClass(cls):
        cls.browser = ENGINES[ENGINE](SITE)
        cls.folder = tempfile.mkdtemp()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_a_driver_that_cannot_start_leaves_no_server_running(self):
        fake = os.path.join(self.folder, "fake")
        os.makedirs(fake)
        with open(os.path.join(fake, "chromedriver"), "w") as file:
            file.write("#!/bin/sh\nexit 1\n")
        os.chmod(os.path.join(fake, "chromedriver"), 0o755)
        path = os.environ["PATH"]
        os.environ["PATH"] = fake + ":" + path
        before = self.our_servers()
        try:
            with self.assertRaises(Exception):
                ENGINES["chromium"](SITE)
        finally:
            os.environ["PATH"] = path
        self.assertEqual(self.our_servers() - before, set(),
                         "the page's server outlived the browser that did not start")

    @classmethod
    def our_servers(cls):
        return {pid for pid in os.listdir("/proc") if pid.isdigit() and cls.serves_for_us(pid)}

    @staticmethod
    def serves_for_us(pid):
        try:
            with open(f"/proc/{pid}/stat") as stat, open(f"/proc/{pid}/cmdline") as cmdline:
                return (int(stat.read().rsplit(")", 1)[1].split()[1]) == os.getpid()
                        and "serve.py" in cmdline.read())
        except (OSError, IndexError, ValueError):
            return False

    def setUp(self):
        self.browser.blank()

    def test_each_frame_is_the_simulators_to_the_pixel(self):
        # The first frame, a cleared post in mid-jump, the death and its text, a
        # restart, the second post cleared near the top speed: the simulator's
        # frame for the same seed, keys and steps, the run recorded and replayed from a link.
        for seed, keys, steps in ((5, "", 1), (7, "z@324", 336), (7, "", 349), (3, "x@360", 361),
                                  (11, "z@334,z@488", 500)):
            with self.subTest(seed=seed, keys=keys, steps=steps):
                sim = [TOOL, "sim", "--seed", str(seed), "--steps", str(steps)] + (
                    ["--keys", keys] if keys else [])
                record = os.path.join(self.folder, f"run-{seed}-{steps}")
                subprocess.run(sim + ["--record", record], check=True)
                run = runs_of(record)[-1]  # the run the last step is in
                self.browser.blank()
                self.browser.open(run_link(run))
                self.browser.wait_for("Module.vtrakHeld", seconds=180)
                self.browser.after_frames(10)  # the picture holds still, and is shown
                shown = os.path.join(self.folder, f"page-{seed}-{steps}.png")
                self.browser.canvas_png(shown)
                expected = os.path.join(self.folder, f"sim-{seed}-{steps}")
                subprocess.run(sim + ["--png", expected], check=True)
                frame = os.path.join(expected, f"frame-{steps:06d}.png")
                self.assertEqual(differing_pixels(shown, frame), 0)

    def test_a_run_played_is_kept_as_the_best_and_replayed_from_its_link(self):
        server = OwnServer()  # an origin with no best run kept yet
        best = "document.getElementById('best').textContent"
        try:
            self.browser.driver.get(server.address + "index.html")
            self.browser.wait_for("Module.vtrakDead", 60)  # no keys: the first post ends it
            link = self.browser.driver.find_element("css selector", "#links a")
            run = link.get_attribute("href").split("#run=")[1].replace(".", " ").replace("~", "\n")
            self.assertEqual(self.browser.value(best), f"Best: {run.split()[-1]} pts.")
            link.click()
            self.assertEqual(self.browser.wait_for("Module.vtrakHeld"), "miss")
            self.assertIn(f"A recorded run: {run.split()[-1]} pts. Tap or press X to play.",
                          self.browser.value(STATUS))
            self.assertEqual(self.browser.value(best), f"Best: {run.split()[-1]} pts.")  # kept
            from selenium.webdriver.common.action_chains import ActionChains
            ActionChains(self.browser.driver).key_down("x").pause(0.1).key_up("x").perform()
            self.browser.wait_for("!Module.vtrakDead && !Module.vtrakHeld")  # a new run
            self.browser.driver.get(server.address + "index.html#run=vtrak-run.1~rand.x~")
            self.browser.wait_for(f"{STATUS}.includes('run cannot be read') && Module.vtrakSteps > 30")
        finally:
            server.stop()

    def cdp(self, command, **parameters):
        return self.browser.driver.execute_cdp_cmd(command, parameters)

    def watch_the_figure(self):
        # Each animation frame, after the game's, notes the figure's highest lit row
        # (265 on the ground, 240 at the top of a jump).
        self.browser.driver.execute_script("""
          const copy = document.createElement('canvas'); copy.width = 640; copy.height = 480;
          const pen = copy.getContext('2d'); window.highest = 480;
          const probe = () => {
            pen.drawImage(document.getElementById('canvas'), 0, 0);
            const p = pen.getImageData(300, 200, 40, 70).data;
            for (let i = 0; i < p.length; i += 4) {
              if (p[i] > 128) { window.highest = Math.min(window.highest, 200 + (i >> 2) / 40 | 0); break; }
            }
            requestAnimationFrame(probe);
          };
          requestAnimationFrame(probe);""")

    def test_a_key_from_the_browser_makes_the_figure_jump(self):
        self.browser.open()
        self.browser.wait_for("Module.vtrakSteps > 30")
        self.watch_the_figure()
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.browser.driver).key_down("z").pause(0.1).key_up("z").perform()
        self.assertLess(self.browser.wait_for("window.highest < 262 && window.highest"), 262)

    def tap(self, times=1):
        x, y = self.browser.value("(r => [r.x + r.width / 2, r.y + r.height / 2])("
                                  "document.getElementById('canvas').getBoundingClientRect())")
        for _ in range(times):
            self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
            self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def test_on_a_phone_upright_and_on_its_side_a_tap_plays(self):
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        try:
            for width, height, side in ((390, 844, False), (844, 390, True)):
                with self.subTest(width=width, height=height):
                    self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                             deviceScaleFactor=3, mobile=True)
                    self.browser.open()  # the taps below are long before the first post
                    self.browser.wait_for("Module.vtrakSteps > 30")
                    box = self.browser.value("(r => [r.left, r.top, r.right, r.bottom])(document"
                                             ".getElementById('canvas').getBoundingClientRect())")
                    self.assertTrue(0 <= box[0] and 0 <= box[1] and box[2] <= width
                                    and box[3] <= height, box)
                    self.assertAlmostEqual((box[2] - box[0]) * 3, (box[3] - box[1]) * 4, delta=4)
                    self.assertGreaterEqual(box[2] - box[0] + 1, min(width, height * 4 / 3))
                    self.assertEqual(self.browser.value("(e => [e.scrollWidth, e.scrollHeight])"
                                                        "(document.documentElement)"), [width, height])
                    self.assertIn("Tap", self.browser.value("document.getElementById('status').textContent"))
                    self.watch_the_figure()
                    self.tap()
                    self.assertLess(self.browser.wait_for("window.highest < 262 && window.highest"), 262)
                    self.tap(2)
                    self.browser.after_frames(30)
                    self.assertEqual(self.browser.value("visualViewport.scale"), 1)
                    if side:
                        self.browser.wait_for("Module.vtrakDead", 20)
                        self.tap()
                        self.browser.wait_for("!Module.vtrakDead")
        finally:
            self.cdp("Emulation.setTouchEmulationEnabled", enabled=False)
            self.cdp("Emulation.clearDeviceMetricsOverride")

    def test_the_page_says_why_it_cannot_start(self):
        server = OwnServer()
        try:
            self.cdp("Network.enable")
            for blocked, words in (("vtrak.js", "could not load its program (vtrak.js)"),
                                   ("vtrak.wasm", "could not load its program (vtrak.wasm)"),
                                   ("face/vtrak-pgothic.ttf", "plays without its words")):
                with self.subTest(blocked=blocked):
                    # No worker either: the files come from the server, or not at all.
                    self.cdp("Network.setBlockedURLs", urls=["*/" + blocked, "*/vtrak-worker.js"])
                    self.browser.driver.get(server.address + "index.html")
                    said = self.browser.wait_for(f"(t => t.includes('{words}') && t)(document"
                                                 ".getElementById('status').textContent)")
                    self.assertNotIn("ASSERTIONS", said)
                    if blocked.startswith("face"):
                        self.browser.wait_for("Module.vtrakSteps > 10")
            self.browser.driver.execute_script("setTimeout(() => Module._vtrak_drop_file(-16))")
            self.browser.wait_for("document.getElementById('status').textContent.includes("
                                  "'V-TRAK stopped: its program failed (memory access out of bounds)')")
        finally:
            self.cdp("Network.setBlockedURLs", urls=[])
            server.stop()

    def test_after_one_visit_the_page_plays_offline_and_installs(self):
        server = OwnServer()
        try:
            self.browser.driver.get(server.address + "index.html")
            self.browser.driver.execute_async_script(
                "navigator.serviceWorker.ready.then(() => arguments[0]())")
            self.browser.driver.refresh()
            self.browser.wait_for("navigator.serviceWorker.controller")
            self.assertEqual(self.cdp("Page.getInstallabilityErrors")["installabilityErrors"], [])
        finally:
            server.stop()
        self.cdp("Network.setCacheDisabled", cacheDisabled=True)
        try:
            self.browser.driver.refresh()
            self.browser.wait_for("Module.vtrakSteps > 30")
        finally:
            self.cdp("Network.setCacheDisabled", cacheDisabled=False)

    def test_the_usual_pace_on_a_display_of_30_frames_a_second(self):
        # Every animation frame comes a frame late: 30 a second.
        script = self.cdp("Page.addScriptToEvaluateOnNewDocument", source="""
          const next = requestAnimationFrame.bind(window);
          window.requestAnimationFrame = (callback) => next(() => next(callback));""")
        server = OwnServer()
        try:
            self.browser.driver.get(server.address + "index.html")
            self.browser.wait_for("document.getElementById('status').textContent.includes("
                                  "'times its usual pace')")
            self.browser.driver.find_element("css selector", "#pace input").click()
            for _ in range(2):  # and once more, remembered
                steps, elapsed = self.browser.driver.execute_async_script("""
                  const done = arguments[0], first = Module.vtrakSteps, start = performance.now();
                  setTimeout(() => done([Module.vtrakSteps - first, performance.now() - start]), 2000);""")
                # Far above the 30 frames a second; a stall of the machine's may forgive a few.
                self.assertTrue(45 < steps / elapsed * 1000 < 66, steps / elapsed * 1000)
                self.browser.driver.refresh()
                self.browser.wait_for("Module.vtrakSteps > 30")
        finally:
            self.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
            server.stop()

    def test_one_step_per_animation_frame(self):
        self.browser.open()
        self.browser.wait_for("Module.vtrakSteps > 10")
        frames, steps = self.browser.driver.execute_async_script("""
          const done = arguments[0], first = Module.vtrakSteps; let frames = 0;
          const tick = (now) => { if (++frames < 120) requestAnimationFrame(tick);
                                  else done([frames, Module.vtrakSteps - first]); };
          requestAnimationFrame(tick);""")
        self.assertLessEqual(abs(frames - steps), 1)

    def test_a_second_tab_shows_the_message_and_never_steps(self):
        self.browser.open()
        self.browser.wait_for("Module.vtrakSteps > 1")
        self.browser.driver.switch_to.new_window("tab")
        self.browser.open()
        self.browser.wait_for("document.getElementById('status').textContent.includes('another tab')")
        image = os.path.join(self.folder, "second.png")
        self.browser.canvas_png(image)
        lines = read_text(image)
        self.assertTrue(any(edit_distance(line, "多重起動ですよ!") <= 1 for line in lines), lines)
        self.assertEqual(self.browser.steps(), 0)

    def test_the_music_starts_at_the_first_key_and_holds_all_of_bgm_wav(self):
        self.browser.open()
        self.browser.wait_for("Module.vtrakSteps > 1")
        self.assertNotEqual(self.browser.value("AL.currentCtx.audioCtx.state"), "running")
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.browser.driver).key_down("x").key_up("x").perform()
        self.browser.wait_for("AL.currentCtx.audioCtx.state === 'running'")
        frames = self.browser.value(
            "Object.values(AL.currentCtx.sources)[0].bufQueue[0].audioBuf.length")
        with open(BGM, "rb") as file:
            header = file.read(44)
        self.assertEqual(frames, int.from_bytes(header[40:44], "little") // 4)


class ServerTest(unittest.TestCase):
    def test_bad_arguments_are_a_usage_line_and_only_files_are_served_as_asked(self):
        serve = [sys.executable, os.path.join(HERE, "..", "..", "web", "serve.py")]
        for arguments in (["/nonexistent/site"], [HERE, "abc"], [HERE, "70000"]):
            run = subprocess.run(serve + arguments, capture_output=True, text=True, timeout=30)
            self.assertRegex(run.stdout + run.stderr, r"^vtrak web: .*\nusage: serve.py FOLDER")
        server = subprocess.Popen(serve + [os.path.join(HERE, ".."), "0"], stdout=subprocess.PIPE)
        self.addCleanup(lambda: server.terminate() or server.communicate())
        port = int(server.stdout.readline().split(b":")[2].strip(b"/\n"))

        def get(path, encoding="gzip"):
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
            connection.request("GET", path, headers={"Accept-Encoding": encoding})
            got = connection.getresponse()
            return got.status, got.getheader("Content-Encoding"), got.getheader("Vary")
        self.assertEqual([get("/web/browser_test.py"), get("/web/browser_test.py", "gzip;q=0, identity"),
                          get("/web/browser_test.py%00")[0], get("/web/")[0]],
                         [(200, "gzip", "Accept-Encoding"), (200, None, "Accept-Encoding"), 400, 404])


if __name__ == "__main__":
    skip_unless_ready()
    # Firefox and WebKit draw the frames; the rest of the page is Chromium's to show.
    only = [] if ENGINE == "chromium" else ["-k", "to_the_pixel"]
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # stopped, it stops the browser
    try:
        run = unittest.main(argv=sys.argv[:1] + only, verbosity=2, exit=False)
    finally:
        if PageTest.browser:
            PageTest.browser.close()
    sys.exit(not run.result.wasSuccessful())
