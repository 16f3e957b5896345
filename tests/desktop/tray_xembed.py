#!/usr/bin/python3
"""The icon in an XEmbed notification area (trayer, as the trays of i3bar, polybar, tint2 and
LXPanel embed it): a timed standby, "Tray", a left click on the icon opens the menu, and each
entry, chosen by mouse and by keyboard, does its part while the countdown goes on. A right
click opens nothing. Usage: PROGRAM"""

import re

from desktop import Desktop, check, settle, wait_for

MAIN = "Hibernate-Standby-Somnar-Scheduler"
RUNNING = "somnar-scheduler , Countdown läuft mit folgenden Parameter..."
# The program's windows: "name": ("class" "class") WxH+X+Y +X+Y on the screen; the icon's
# lies inside the panel at +0+0, a pop-up menu on the root.
SHOWN = re.compile(r'^ *0x[0-9a-f]+ "somnar-scheduler": \("somnar-scheduler" "somnar-scheduler"\)'
                   r'\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)$', re.M)


def shown(desktop, embedded):
    """The icon's window (EMBEDDED) or the menu's, as (width, height, left, top)."""
    for found in SHOWN.finditer(desktop.run(["xwininfo", "-root", "-tree"]).stdout):
        width, height, x, y, left, top = map(int, found.groups())
        if (x, y) == (0, 0) and embedded or (x, y) != (0, 0) and not embedded:
            return width, height, left, top
    return None


def centre(place, row=1, rows=2):
    width, height, left, top = place
    return str(left + width // 2), str(top + height * (2 * row - 1) // (2 * rows))


with Desktop() as desktop:
    desktop.logind()
    desktop.x_server()
    desktop.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                   "--height", "24"])
    program = desktop.start([desktop.program])
    window = desktop.window()
    others = window.find()
    window.click("cmdRS_aus(1)")  # standby at the preset minute, five minutes ahead
    window.answer("the confirmation", other_than=others)
    for how in ("mouse", "keyboard", "parameters"):  # the last one also shows the countdown runs
        wait_for(lambda: window.find(MAIN), 10, "the main window")
        # "Tray" is enabled by the countdown's first tick, 1.5 s after the confirmation.
        wait_for(lambda: window.click("cmdTray") or wait_for(
            lambda: not window.find(MAIN), 0.5), 10, "'Tray' to put the window away")
        icon = centre(wait_for(lambda: shown(desktop, True), 10, "the icon in the tray"))
        window.x("mousemove", *icon, "click", "3")
        settle(1)
        check(shown(desktop, False) is None, "a right click opened a menu")
        window.x("mousemove", *icon, "click", "1")
        menu = wait_for(lambda: shown(desktop, False), 10, "the menu")
        if how == "keyboard":
            window.x("key", "--clearmodifiers", "Down", "Down", "Return")
        else:  # "Programmfenster anzeigen" is the lower entry
            window.x("mousemove", "--sync", *centre(menu, 2 if how == "mouse" else 1), "click", "1")
        if how == "parameters":
            box = wait_for(lambda: window.find(re.escape(RUNNING)), 10, "the parameters")[0]
            window.x("windowfocus", "--sync", box, "key", "Return")
            check(not window.find(MAIN), "the parameters brought the window back")
            continue
        chosen = "the program, after 'Programmfenster anzeigen' by " + how
        wait_for(lambda: desktop.alive(program, chosen) or window.find(MAIN), 10, chosen)
        wait_for(lambda: shown(desktop, True) is None, 10, "the icon to go")
    desktop.alive(program, "the program")
print("ok: the tray menu by mouse and keyboard; the program and its countdown live on")
