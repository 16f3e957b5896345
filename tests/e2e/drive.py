"""Drives the main window with xdotool like a user: each control is clicked at its place
in the design table (src/app/form1_design.cpp), found by its design name."""

import os
import re
import time

MAIN_TITLE = "Hibernate-Standby-Somnar-Scheduler"
BOX_TITLE = "Somnar-Scheduler|somnar-scheduler"
DESIGN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../src/app/form1_design.cpp")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        check(time.monotonic() < deadline, "timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(0.05)
    return value


def design_places():
    """Key ("cmdSuspend", "Frame1(0)") -> (container key, left, top, width, height) in twips."""
    with open(DESIGN, encoding="utf-8") as f:
        rows = f.read().split("{.name = ")[1:]
    places = {}
    for row in rows:
        index = re.search(r"\.index = (\d+)", row)
        container = re.search(r'\.container = "([^"]+)"', row)
        place = re.search(r"\.place = \{(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}", row)
        if place:
            key = row.split('"')[1] + ("(%s)" % index.group(1) if index else "")
            places[key] = (container and container.group(1), *(int(p) for p in place.groups()))
    return places


PLACES = design_places()


def centre(name):
    """A control's centre in pixels (twips / 15) within the client area; for a picker the
    middle of its text, clear of the drop-down arrow."""
    container, left, top, width, height = PLACES[name]
    x, y = left + (150 if name.startswith("cmb") else width / 2), top + height / 2
    while container:
        container, left, top, _, _ = PLACES[container]
        x, y = x + left, y + top
    return round(x / 15), round(y / 15)


class Window:
    """The main window, through XDOTOOL(arguments) -> (status, output), here or in a guest."""

    def __init__(self, xdotool, timeout=15):
        self.xdotool = xdotool
        self.id = wait_for(lambda: self.find(MAIN_TITLE), timeout, "the main window")[0]

    def x(self, *arguments):
        status, out = self.xdotool(arguments)
        check(status == 0, "xdotool %s failed: %s" % (" ".join(arguments), out))
        return out

    def find(self, title):
        status, out = self.xdotool(("search", "--onlyvisible", "--name", "^(%s)$" % title))
        return out.split() if status == 0 else []

    def height(self):
        return self.geometry()[2]

    def geometry(self):
        out = self.x("getwindowgeometry", "--shell", self.id)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["HEIGHT"])

    def click(self, name):
        x0, y0, _ = self.geometry()
        dx, dy = centre(name)
        self.x("mousemove", "--sync", str(x0 + dx), str(y0 + dy), "click", "1")

    def type_into(self, name, text):
        """Replaces an editable control's text and leaves it with Tab, so it is taken."""
        self.x("windowfocus", "--sync", self.id)
        self.click(name)
        self.x("key", "--clearmodifiers", "ctrl+a", "BackSpace")
        if text:
            self.x("type", "--clearmodifiers", "--delay", "20", text)
        self.x("key", "--clearmodifiers", "Tab")

    def open_options(self):
        compact = self.height()
        self.click("chkActionen")
        wait_for(lambda: self.height() > compact + 300, 10, "the options to open")

    def boxes(self):
        return self.find(BOX_TITLE)

    def answer(self, what, other_than=(), sleeps=False):
        """Presses Return (the first button) on the box that comes up; returns the box. A key
        pressed before the box has the focus is lost, so it is pressed again while the box
        stays; not when the answer puts the machine to sleep (SLEEPS): nothing answers then."""
        box = wait_for(lambda: [b for b in self.boxes() if b not in other_than], 20, what)[0]
        for _ in range(1 if sleeps else 3):
            self.x("windowfocus", "--sync", box, "key", "--clearmodifiers", "Return")
            deadline = time.monotonic() + 3
            while not sleeps and box in self.boxes() and time.monotonic() < deadline:
                time.sleep(0.05)
            if sleeps or box not in self.boxes():
                return box
        raise Failure(what + " did not close on Return")
