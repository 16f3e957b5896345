#!/usr/bin/python3
"""The icon as a StatusNotifierItem in waybar, under a headless sway, the program a native
Wayland client, all as the user nobody (sway refuses root), driven through wayvnc's pointer: a
timed standby, "Tray"; a host's Activate is answered at once, the menu opens small, not as a
window over the screen; waybar's left click opens the program's menu, its right click waybar's
own with the same entries; "Programmfenster anzeigen" brings the window back each time and the
icon goes. Usage: PROGRAM"""

import glob
import json
import os
import re
import subprocess

from desktop import Desktop, Vnc, centre, check, settle, wait_for

MAIN = "Hibernate-Standby-Somnar-Scheduler"
RETURN = 0xFF0D
ICON = (1260, 15)  # the one icon, at the bar's right end
WAYBAR = {"position": "top", "height": 30, "modules-right": ["tray"], "tray": {"icon-size": 20}}


def windows(desktop):
    """Sway's windows by title: (left, top, width, height) of what the client draws."""
    found = {}

    def walk(node):
        if node.get("type") in ("con", "floating_con") and node.get("name"):
            outer, inner = node["rect"], node["window_rect"]
            found[node["name"]] = (outer["x"] + inner["x"], outer["y"] + inner["y"],
                                   inner["width"], inner["height"])
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child)
    walk(json.loads(desktop.run(["swaymsg", "-t", "get_tree"]).stdout))
    return found


def click(vnc, desktop, name):
    left, top, _, _ = windows(desktop)[MAIN]
    dx, dy = centre(name)
    vnc.click(left + dx, top + dy)


def items(desktop):
    """The items that have registered with waybar's watcher."""
    done = desktop.run(["dbus-send", "--session", "--print-reply",
                        "--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                        "org.freedesktop.DBus.Properties.Get",
                        "string:org.kde.StatusNotifierWatcher",
                        "string:RegisteredStatusNotifierItems"])
    return re.findall(r'string "([^"/]+)/StatusNotifierItem"', done.stdout)


def to_tray(vnc, desktop):
    # "Tray" is enabled by the countdown's first tick, 1.5 s after the confirmation.
    wait_for(lambda: click(vnc, desktop, "cmdTray") or wait_for(
        lambda: MAIN not in windows(desktop), 0.5), 10, "'Tray' to put the window away")
    return wait_for(lambda: items(desktop), 10, "the icon in waybar")[0]


def choose_lower_entry(vnc, desktop):
    """Clicks "Programmfenster anzeigen" in the program's menu, once sway has placed it."""
    wait_for(lambda: windows(desktop).get("somnar-scheduler"), 10, "the menu")
    settle(1)
    left, top, width, height = windows(desktop)["somnar-scheduler"]
    check(width < 400 and height < 200, "the menu covers the screen: %s" % ((width, height),))
    vnc.click(left + 40, top + height * 3 // 4)


def back(desktop, program, how):
    wait_for(lambda: desktop.alive(program, "the program") or MAIN in windows(desktop), 10,
             "the window to come back (%s)" % how)
    wait_for(lambda: not items(desktop), 10, "the icon to go (%s)" % how)


with Desktop(as_nobody=True) as desktop:
    desktop.bus()
    desktop.logind()
    home, runtime = desktop.home, desktop.env["XDG_RUNTIME_DIR"]
    # No Xwayland: it would take an X display beside the other tests' Xvfb.
    for name, text in (("sway.conf", "output HEADLESS-1 resolution 1280x800\nxwayland disable\n"),
                       ("waybar.json", json.dumps(WAYBAR))):
        with open(home + "/" + name, "w", encoding="utf-8") as out:
            out.write(text)
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    desktop.start(["sway", "-c", home + "/sway.conf"], **quiet,
                  env=dict(desktop.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                           WLR_RENDERER="pixman"))
    wait_for(lambda: glob.glob(runtime + "/sway-ipc.*.sock"), 20, "sway")
    desktop.env.update(SWAYSOCK=glob.glob(runtime + "/sway-ipc.*.sock")[0],
                       WAYLAND_DISPLAY="wayland-1")
    desktop.start(["waybar", "-c", home + "/waybar.json"], **quiet)
    desktop.start(["wayvnc", "-u", home + "/vnc.sock"], **quiet)
    wait_for(lambda: os.path.exists(home + "/vnc.sock"), 20, "wayvnc")
    vnc = Vnc(home + "/vnc.sock")
    program = desktop.start([desktop.program])
    wait_for(lambda: MAIN in windows(desktop), 30, "the main window")
    click(vnc, desktop, "cmdRS_aus(1)")  # standby at the preset minute
    wait_for(lambda: "somnar-scheduler" in windows(desktop), 10, "the confirmation")
    settle()
    vnc.key(RETURN)
    # A host that waits for the answer to its Activate (waybar's call wants none) gets it
    # while the menu it opens is still to come; its lower entry brings the window back.
    item = to_tray(vnc, desktop)
    done = desktop.run(["dbus-send", "--session", "--print-reply", "--reply-timeout=5000",
                        "--dest=" + item, "/StatusNotifierItem",
                        "org.kde.StatusNotifierItem.Activate", "int32:1260", "int32:15"])
    check(done.returncode == 0, "Activate was not answered before the menu closed: %r" % done)
    choose_lower_entry(vnc, desktop)
    back(desktop, program, "Activate")
    # waybar's own clicks: the left one opens the program's menu; the right one waybar's menu
    # of the same entries, below the icon and left of it (the lower entry 40 px down).
    for button, entry in ((1, ()), (4, (ICON[0] - 130, ICON[1] + 40))):
        wait_for(lambda: MAIN in windows(desktop), 10, "the main window")
        to_tray(vnc, desktop)
        settle(1)
        vnc.click(*ICON, button)
        if entry:
            settle(1)
            vnc.click(*entry)
        else:
            choose_lower_entry(vnc, desktop)
        back(desktop, program, "waybar's button %d" % button)
print("ok: Activate answered at once; the program's menu and waybar's bring the window back")
