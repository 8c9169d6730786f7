#!/usr/bin/python3
"""What the browser page costs, in headless Chromium on this machine:

    web_page_bench.py SITE [LOADS]

the page's size as served (gzip) and on disk, the time from navigation to the
first presented frame over LOADS fresh loads, and over 10 s of play the steps
per second beside the browser's animation frames per second and the CPU time
of all of the browser's processes, in per cent of one core.
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
        browser.wait_for("Module.vtrakSteps > 60")
        cpu, steps, started = (browser_cpu_seconds(browser.folder), browser.steps(),
                               time.monotonic())
        frames = browser.driver.execute_async_script("""
          const done = arguments[0]; let frames = 0; const end = performance.now() + 10000;
          const tick = (now) => { ++frames; if (now < end) requestAnimationFrame(tick);
                                  else done(frames); };
          requestAnimationFrame(tick);""")
        seconds = time.monotonic() - started
        cpu = browser_cpu_seconds(browser.folder) - cpu
        steps = browser.steps() - steps
    finally:
        browser.close()
    print(f"| page served, gzip / on disk      | {compressed / 1e6:.2f} MB / {plain / 1e6:.2f} MB |")
    print(f"| navigation to first frame        | median {statistics.median(firsts):.0f} ms "
          f"(min {min(firsts):.0f}, max {max(firsts):.0f}, {loads} loads) |")
    print(f"| steps / animation frames a second| {steps / seconds:.1f} / {frames / seconds:.1f} |")
    print(f"| browser CPU, all its processes   | {cpu / seconds * 100:.1f} % of one core |")


if __name__ == "__main__":
    main()
