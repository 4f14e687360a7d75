#!/usr/bin/python3
"""The real program on an X server of the test's own, its window resized to three sizes: each time
the device fills the window as far as it can at 3:4, centred on the casing colour, and a screenshot
(PNG, kept in the work folder) shows it so. The last size given is remembered for the next start,
and asking the window to close ends the program with status 0.
Usage: x_resize_test.py PROGRAM WORK_DIR"""
import math
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

from Xlib import X, display, protocol

program, work = sys.argv[1], sys.argv[2]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
failures = []

CASING, TITLE, MENU = (58, 58, 62), (0, 0, 132), (212, 208, 200)
SIZES = [(480, 640), (1000, 700), (360, 900)]


def save_png(path, width, height, rgb_rows):
    raw = b"".join(b"\0" + row for row in rgb_rows)
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def start_server():
    """An X server of our own; another starting at the same moment may take the display number
    it was about to use, so a server that does not answer is replaced."""
    for _ in range(5):
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
                                  pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        # Xvfb writes the number and then a line break; closing the pipe before the break is
        # read would end the server.
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        os.close(read)
        number = number.decode().strip()
        try:
            return server, ":" + number, display.Display(":" + number)
        except Exception as error:
            print("X server", number, "does not answer:", error)
            server.terminate()
            server.wait()
    sys.exit("FAILED: no X server answered")


def find_window(screen, seconds=15):
    root = screen.screen().root
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for window in root.query_tree().children:
            try:
                if window.get_attributes().map_state == X.IsViewable and (window.get_wm_name() or "").startswith("Talvino"):
                    return window
            except Exception:
                continue
        time.sleep(0.1)
    return None


def colour_at(image, width, x, y):
    offset = (y * width + x) * 4
    blue, green, red = image[offset], image[offset + 1], image[offset + 2]
    return red, green, blue


def near(a, b):
    return all(abs(p - q) <= 8 for p, q in zip(a, b))


def run(environment):
    return subprocess.Popen([program], env=environment, stdout=subprocess.DEVNULL, stderr=open(os.path.join(work, "talvino.log"), "a"))


server, name, screen = start_server()
home = os.path.join(work, "home")
os.makedirs(os.path.join(work, "runtime"), mode=0o700)
environment = {k: v for k, v in os.environ.items() if k not in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "WAYLAND_DISPLAY")}
environment.update(DISPLAY=name, HOME=home, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=os.path.join(work, "runtime"))
started = run(environment)
try:
    window = find_window(screen)
    if not window:
        sys.exit("FAILED: no window titled Talvino appeared")
    first = window.get_geometry()
    if (first.width, first.height) != (480, 640):
        failures.append(f"the first window is {first.width} x {first.height}, not the device at 2 on a 1024 pixel high screen")
    for width, height in SIZES:
        window.configure(width=width, height=height)
        screen.sync()
        time.sleep(1.0)
        geometry = window.get_geometry()
        if (geometry.width, geometry.height) != (width, height):
            failures.append(f"the window did not take {width} x {height}")
            continue
        data = window.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF).data
        save_png(os.path.join(work, f"window-{width}x{height}.png"), width, height,
                 [bytes(c for x in range(width) for c in colour_at(data, width, x, y)) for y in range(height)])
        scale = min(width / 240, height / 320)
        shown_w, shown_h = math.ceil(240 * scale - 1e-9), math.ceil(320 * scale - 1e-9)
        left, top = (width - shown_w) // 2, (height - shown_h) // 2
        expected = [("title bar", left + 2, top + 2, TITLE), ("title bar", left + 2, top + int(24 * scale), TITLE),
                    ("menu bar", left + 2, top + shown_h - 3, MENU),
                    ("menu bar", left + shown_w // 3, top + shown_h - 3, MENU)]
        if left > 2:
            expected += [("casing left", left // 2, height // 2, CASING), ("casing right", width - 1 - left // 2, height // 2, CASING)]
        if top > 2:
            expected += [("casing above", width // 2, top // 2, CASING), ("casing below", width // 2, height - 1 - top // 2, CASING)]
        for what, x, y, colour in expected:
            seen = colour_at(data, width, x, y)
            if not near(seen, colour):
                failures.append(f"{width} x {height}: {what} at {x},{y} is {seen}, not {colour}")
    event = protocol.event.ClientMessage(window=window, client_type=screen.intern_atom("WM_PROTOCOLS"),
                                         data=(32, [screen.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    screen.flush()
    status = started.wait(timeout=10)
    if status != 0:
        failures.append(f"the program ended with status {status} after the close")
    remembered = os.path.join(home, ".config", "talvino", "window")
    kept = open(remembered).read().split() if os.path.exists(remembered) else None
    if kept != [str(SIZES[-1][0]), str(SIZES[-1][1])]:
        failures.append(f"the last size was not remembered in {remembered}: {kept}")
    again = run(environment)
    window = find_window(screen)
    geometry = window.get_geometry() if window else None
    if not geometry or (geometry.width, geometry.height) != SIZES[-1]:
        failures.append(f"the next start did not take the remembered size: {geometry and (geometry.width, geometry.height)}")
    again.terminate()
    if again.wait(timeout=10) != 0:
        failures.append("the second start did not end with status 0 on SIGTERM")
finally:
    if started.poll() is None:
        started.kill()
    server.terminate()
    server.wait()

for failure in failures:
    print("FAILED:", failure)
print("resize test passed" if not failures else f"{len(failures)} failure(s)")
sys.exit(1 if failures else 0)
