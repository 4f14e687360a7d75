#!/usr/bin/python3
"""Asks a program's top-level X window to close the way a window manager does: a WM_PROTOCOLS
client message carrying WM_DELETE_WINDOW. Usage: close_window.py TITLE_PREFIX [SECONDS]"""
import sys
import time

from Xlib import X, display, protocol

prefix, seconds = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
screen = display.Display()
root = screen.screen().root
net_wm_name, utf8 = screen.intern_atom("_NET_WM_NAME"), screen.intern_atom("UTF8_STRING")
wm_protocols, wm_delete = screen.intern_atom("WM_PROTOCOLS"), screen.intern_atom("WM_DELETE_WINDOW")


def title(window):
    prop = window.get_full_property(net_wm_name, utf8)
    if prop and prop.value:
        return prop.value.decode("utf-8", "replace") if isinstance(prop.value, bytes) else str(prop.value)
    return window.get_wm_name() or ""


deadline = time.monotonic() + seconds
while time.monotonic() < deadline:
    for window in root.query_tree().children:
        try:
            name = title(window)
            if window.get_attributes().map_state != X.IsViewable or not name.startswith(prefix):
                continue
            if wm_delete not in (window.get_wm_protocols() or []):
                continue
        except Exception:  # a window that went away while we looked
            continue
        event = protocol.event.ClientMessage(window=window, client_type=wm_protocols,
                                             data=(32, [wm_delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        screen.flush()
        # The title was read before: a quick program has taken its window away by now.
        print(f"asked {name!r} to close")
        sys.exit(0)
    time.sleep(0.1)
sys.exit(f"no window titled {prefix!r}… appeared within {seconds} s")
