"""Drives the main window with xdotool like a user, here or in a guest: each control is
clicked at its place in the design table (src/app/main_window_design.cpp), by its design name."""

import os
import re
import subprocess
import time

MAIN_TITLE = "Hibernate-Standby-Somnar-Scheduler"
DESIGN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../src/app/main_window_design.cpp")

class Failure(Exception):
    pass

def check(condition, message):
    if not condition:
        raise Failure(message)

def start_xvfb(*options):
    """An Xvfb at the first free display; returns it and its DISPLAY. With -noreset: a bare
    Xvfb resets when its last client leaves (xdotool's first look, say), and a program that
    connects meanwhile finds no display."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset",
                             *options], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    number = b""
    while not number.endswith(b"\n"):  # the number and its line end come in two writes
        number += os.read(read_end, 16)
    return xvfb, ":" + number.decode().strip()

def wait_for(predicate, timeout, what=None):
    """PREDICATE's first true value within TIMEOUT s; else a Failure, or None without WHAT."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            check(what is None, "timed out after %.0f s waiting for %s" % (timeout, what))
            return None
        time.sleep(0.05)
    return value

def design_places():
    """Key ("cmdSuspend", "Frame1(0)") -> (container key, left, top, width, height) in twips."""
    places = {}
    with open(DESIGN, encoding="utf-8") as f:
        for row in f.read().split("{.name = ")[1:]:
            index = re.search(r"\.index = (\d+)", row)
            container = re.search(r'\.container = "([^"]+)"', row)
            place = re.search(r"\.place = \{(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}", row)
            if place:
                key = row.split('"')[1] + ("(%s)" % index.group(1) if index else "")
                places[key] = (container and container.group(1), *map(int, place.groups()))
    return places

PLACES = design_places()

def centre(name):
    """A control's centre in pixels (twips / 15) in the client area (a picker's text part)."""
    container, left, top, width, height = PLACES[name]
    x, y = left + (150 if name.startswith("cmb") else width / 2), top + height / 2
    while container:
        container, left, top, _, _ = PLACES[container]
        x, y = x + left, y + top
    return round(x / 15), round(y / 15)

class Window:
    """The main window, through XDOTOOL(arguments) -> (status, output)."""

    def __init__(self, xdotool, timeout=15, wait_for_pointer=True):
        """WAIT_FOR_POINTER: each click waits until the pointer has moved (xdotool --sync),
        which stalls for 15 s at times in a bare Xvfb."""
        self.xdotool = xdotool
        self.sync = ["--sync"] if wait_for_pointer else []
        self.id = wait_for(lambda: self.find(MAIN_TITLE), timeout, "the main window")[0]

    def x(self, *arguments):
        status, out = self.xdotool(arguments)
        check(status == 0, "xdotool %s failed: %s" % (" ".join(arguments), out))
        return out

    def find(self, title="Somnar-Scheduler|somnar-scheduler"):  # by default the message boxes
        status, out = self.xdotool(("search", "--onlyvisible", "--name", "^(%s)$" % title))
        return out.split() if status == 0 else []

    def geometry(self):
        shell = dict(v.split("=") for v in self.x("getwindowgeometry", "--shell", self.id).split())
        return int(shell["X"]), int(shell["Y"]), int(shell["HEIGHT"])

    def click(self, name, *then):
        """Clicks the control NAME, then goes on with the xdotool commands THEN."""
        x0, y0, _ = self.geometry()
        dx, dy = centre(name)
        self.x("mousemove", *self.sync, str(x0 + dx), str(y0 + dy), "click", "1", *then)

    def type_into(self, name, text):
        """Replaces an editable control's text and leaves it with Tab, so it is taken."""
        self.x("windowfocus", "--sync", self.id)
        self.click(name, "key", "--clearmodifiers", "ctrl+a", "BackSpace",
                   *(["type", "--clearmodifiers", "--delay", "20", text] if text else []))
        self.x("key", "--clearmodifiers", "Tab")

    def open_options(self):
        compact = self.geometry()[2]
        self.click("chkActionen")
        wait_for(lambda: self.geometry()[2] > compact + 300, 10, "the options to open")

    def answer(self, what, other_than=(), sleeps=False):
        """Presses Return (the first button) on the box that comes up, and again while it stays
        (a key before the box had the focus is lost) unless the machine then SLEEPS."""
        box = wait_for(lambda: [b for b in self.find() if b not in other_than], 20, what)[0]
        time.sleep(0.3)  # a box just mapped is not yet ready for keys
        for _ in range(3):
            self.x("windowfocus", "--sync", box, "key", "--clearmodifiers", "Return")
            if sleeps or wait_for(lambda: box not in self.find(), 3):
                return box
        raise Failure(what + " did not close on Return")
