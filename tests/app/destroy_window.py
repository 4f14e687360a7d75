#!/usr/bin/python3
"""Destroys a program's top-level X window from outside, as `xdotool windowclose` does (no
question to the program first). Usage: destroy_window.py TITLE_PREFIX [SECONDS]"""
import sys
import time

from Xlib import X, display

prefix, seconds = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
screen = display.Display()
root = screen.screen().root

deadline = time.monotonic() + seconds
while time.monotonic() < deadline:
    for window in root.query_tree().children:
        try:
            name = window.get_wm_name() or ""
            if window.get_attributes().map_state != X.IsViewable or not name.startswith(prefix):
                continue
        except Exception:  # a window that went away while we looked
            continue
        window.destroy()
        screen.sync()
        print(f"destroyed {name!r}")
        sys.exit(0)
    time.sleep(0.1)
sys.exit(f"no window titled {prefix!r}… appeared within {seconds} s")
