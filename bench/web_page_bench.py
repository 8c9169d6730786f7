#!/usr/bin/python3
"""What the browser page costs, in headless Chromium on this machine:

    web_page_bench.py SITE [LOADS]

the page's size as served (gzip) and on disk, the time from navigation to the
first presented frame over LOADS fresh loads, and over 10 s of play the steps
per second beside the browser's animation frames per second and the CPU time
of all of the browser's processes, in per cent of one core. Beside it, in the
same browser and in turns with the game, the floor: a bare page that each
animation frame clears a 640 by 480 frame, draws the game's lines into it and
hands it to a 2D canvas; the ratio of the two is what the game costs above
the least any page showing such frames costs.
"""
import os
import statistics
import sys
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
from browser import Browser  # noqa: E402


def served_sizes(address, site):
    compressed = plain = 0
    for folder, _, files in os.walk(site):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name), site)
            request = urllib.request.Request(address + path, headers={"Accept-Encoding": "gzip"})
            with urllib.request.urlopen(request) as response:
                compressed += len(response.read())
            plain += os.path.getsize(os.path.join(site, path))
    return compressed, plain


def browser_cpu_seconds(folder):
    """utime + stime of every process started with this browser's profile folder."""
    ticks = 0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as file:
                if folder.encode() not in file.read():
                    continue
            with open(f"/proc/{pid}/stat") as file:
                fields = file.read().rsplit(")", 1)[1].split()
            ticks += int(fields[11]) + int(fields[12])
        except OSError:
            continue
    return ticks / os.sysconf("SC_CLK_TCK")


# The floor: fourteen lines a frame, as many as the game draws, moving as its
# posts and sleepers do, drawn into a frame cleared to black each time.
FLOOR = """<!doctype html><body style="margin:0;background:#000">
<canvas id="canvas" width="640" height="480"></canvas><script>
const pen = document.getElementById('canvas').getContext('2d');
const image = pen.createImageData(640, 480), pixels = new Uint32Array(image.data.buffer);
const line = (x0, y0, x1, y1) => {
  const dx = Math.abs(x1 - x0), dy = -Math.abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  for (let error = dx + dy; ; ) {
    pixels[y0 * 640 + x0] = 0xffffffff;
    if (x0 === x1 && y0 === y1) return;
    const twice = 2 * error;
    if (twice >= dy) { error += dy; x0 += sx; }
    if (twice <= dx) { error += dx; y0 += sy; }
  }
};
let frame = 0;
const draw = () => {
  pixels.fill(0xff000000);
  for (const y of [60, 400, 280]) line(80, y, 560, y);
  line(80, 60, 80, 400); line(560, 60, 560, 400);
  const post = 560 - frame % 400;
  if (post > 80 && post < 496) { line(post, 60, post, 280); line(post + 64, 60, post + 64, 280); }
  line(80, 140 - frame % 50, 560, 140 - frame % 50);
  for (let x = 560 - frame % 80; x > 80; x -= 80) line(x, 280, x, 400);
  pen.putImageData(image, 0, 0);
  window.floorFrames = ++frame;
  requestAnimationFrame(draw);
};
requestAnimationFrame(draw);
</script></body>"""


def play(browser, ready, seconds):
    """CPU seconds of all the browser's processes a second over `seconds` of
    animation frames once `ready` holds, and the frames a second."""
    browser.wait_for(ready)
    cpu, started = browser_cpu_seconds(browser.folder), time.monotonic()
    frames = browser.driver.execute_async_script("""
      const done = arguments[0]; let frames = 0; const end = performance.now() + %d;
      const tick = (now) => { ++frames; if (now < end) requestAnimationFrame(tick);
                              else done(frames); };
      requestAnimationFrame(tick);""" % (seconds * 1000))
    elapsed = time.monotonic() - started
    return (browser_cpu_seconds(browser.folder) - cpu) / elapsed, frames / elapsed, elapsed


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    site, loads = sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 5
    browser = Browser(site)
    try:
        compressed, plain = served_sizes(browser.address, site)
        firsts = []
        for _ in range(loads):
            browser.driver.get("about:blank")
            browser.open()
            firsts.append(browser.wait_for("Module.vtrakFirstFrame"))
        floor_page = os.path.join(browser.folder, "floor.html")
        with open(floor_page, "w") as file:
            file.write(FLOOR)
        # In turns, 5 s each, so that whatever else the machine does falls on both alike.
        game = [0.0, 0.0, 0.0, 0]  # CPU, frames a second, seconds, steps
        floor = [0.0, 0.0]
        for _ in range(2):
            browser.driver.get("about:blank")
            browser.open()
            browser.wait_for("Module.vtrakSteps > 60")
            steps = browser.steps()
            cpu, frames, seconds = play(browser, "true", 5)
            game = [game[0] + cpu / 2, game[1] + frames / 2, game[2] + seconds,
                    game[3] + browser.steps() - steps]
            browser.driver.get("file://" + floor_page)
            cpu, frames, _ = play(browser, "window.floorFrames > 60", 5)
            floor = [floor[0] + cpu / 2, floor[1] + frames / 2]
    finally:
        browser.close()
    print(f"| page served, gzip / on disk      | {compressed / 1e6:.2f} MB / {plain / 1e6:.2f} MB |")
    print(f"| navigation to first frame        | median {statistics.median(firsts):.0f} ms "
          f"(min {min(firsts):.0f}, max {max(firsts):.0f}, {loads} loads) |")
    print(f"| steps / animation frames a second| {game[3] / game[2]:.1f} / {game[1]:.1f} |")
    print(f"| browser CPU, all its processes   | {game[0] * 100:.1f} % of one core |")
    print(f"| the floor page's CPU, frames     | {floor[0] * 100:.1f} % of one core, "
          f"{floor[1]:.1f} a second |")
    print(f"| the game's CPU / the floor's     | {game[0] / floor[0]:.2f} |")


if __name__ == "__main__":
    main()
