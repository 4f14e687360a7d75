#!/usr/bin/python3
"""Types keys into a program's top-level X window as a user at the keyboard does (XTest), one at a
time. With no window manager the window is given the input focus first, as a desktop would.
Usage: press_keys.py TITLE_PREFIX KEY... (X key names; "+Tab" is Shift+Tab, "_" waits a second)"""
import sys
import time

from Xlib import X, XK, display
from Xlib.ext import xtest

prefix, keys = sys.argv[1], sys.argv[2:]
screen = display.Display()
deadline = time.monotonic() + 30
target = None
while target is None and time.monotonic() < deadline:
    for window in screen.screen().root.query_tree().children:
        try:
            name = window.get_wm_name() or ""
            if window.get_attributes().map_state == X.IsViewable and name.startswith(prefix):
                target = window
        except Exception:  # a window that went away while we looked
            continue
    time.sleep(0.2)
if target is None:
    sys.exit(f"no window titled {prefix!r}… appeared")
time.sleep(1)  # the first screen takes its focus
target.set_input_focus(X.RevertToParent, X.CurrentTime)
screen.sync()
time.sleep(0.5)


def code(name):
    return screen.keysym_to_keycode(XK.string_to_keysym(name))


for key in keys:
    if key == "_":
        time.sleep(1)
        continue
    shifted = key.startswith("+")
    if shifted:
        xtest.fake_input(screen, X.KeyPress, code("Shift_L"))
    xtest.fake_input(screen, X.KeyPress, code(key.lstrip("+")))
    xtest.fake_input(screen, X.KeyRelease, code(key.lstrip("+")))
    if shifted:
        xtest.fake_input(screen, X.KeyRelease, code("Shift_L"))
    screen.sync()
    time.sleep(0.4)
