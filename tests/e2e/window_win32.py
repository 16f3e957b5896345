#!/usr/bin/python3
"""The Windows program under Wine in its own Xvfb, driven with xdotool: the window shows, a
click on "hibernate now" asks first and Escape answers No (nothing else follows), the file
dialog's title keeps its umlaut on its way through UTF-16 and X, the info window opens
and closes, and closing the window ends
the program with status 0. Prints the start-up beside a bare window's.
Usage: PROGRAM BARE_WINDOW"""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../vm"))
from drive import MAIN_TITLE, Window, check, wait_for  # noqa: E402

PROGRAM, BARE = sys.argv[1:3]
CHOOSER = "Exe oder BAT Datei auswählen"
read_end, write_end = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                         "1280x1024x24"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
ENV = dict(os.environ, DISPLAY=":" + os.read(read_end, 16).decode().strip())


def xdotool(args):
    run = subprocess.run(["xdotool", *args], env=ENV, capture_output=True, text=True)
    return run.returncode, run.stdout


def start(exe):
    return subprocess.Popen(["wine", exe], env=ENV, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def close(process, window):
    """Closes the window with Alt+F4 and confirms each box that comes (what the program could
    not store) until the program has ended, with status 0. Killed instead, Wine may leave
    other processes of the prefix waiting for what it held."""
    status, _ = xdotool(("windowfocus", "--sync", window, "key", "--clearmodifiers", "alt+F4"))
    check(status == 0, "Alt+F4 on the window")
    boxes = lambda: xdotool(("search", "--onlyvisible", "--name", "^(Somnar-Scheduler)$"))[1].split()
    while (found := wait_for(lambda: process.poll() is not None or boxes(), 20, "the end")) is not True:
        xdotool(("windowfocus", "--sync", found[0], "key", "--clearmodifiers", "Return"))
        time.sleep(0.3)
    check(process.wait() == 0, "ended with status %s" % process.returncode)


def seconds_to_show(exe, title):
    began = time.monotonic()
    process = start(exe)
    # Wine's own start can take long on a busy machine; a window that never shows still fails,
    # saying what was on the screen and whether the program still ran.
    found = wait_for(lambda: xdotool(("search", "--onlyvisible", "--name", "^%s$" % title))[1], 60)
    if not found:
        shown = [xdotool(("getwindowname", w))[1].strip()
                 for w in xdotool(("search", "--onlyvisible", "--name", "."))[1].split()]
        check(False, "timed out after 60 s waiting for %s; on the screen: %s; the program %s"
              % (title, shown or "nothing", "runs" if process.poll() is None
                 else "ended with status %s" % process.returncode))
    window = found.split()[0]
    took = time.monotonic() - began
    close(process, window)
    return took


program = None
try:
    runs = [(seconds_to_show(BARE, "Bare-Win32-Window"), seconds_to_show(PROGRAM, MAIN_TITLE))
            for _ in range(3)]
    print("start to mapped window under Wine, median of 3: bare window %.0f ms, program %.0f ms"
          % tuple(1000 * statistics.median(r[i] for r in runs) for i in (0, 1)))

    program = start(PROGRAM)
    window = Window(xdotool, 30)
    window.click("cmdHibernate")
    box = wait_for(window.find, 10, "the question before hibernating")[0]
    window.x("windowfocus", "--sync", box, "key", "--clearmodifiers", "Escape")
    wait_for(lambda: box not in window.find(), 5, "Escape to answer No")
    time.sleep(1.5)  # a Yes would have led to a sleep attempt and a box saying it failed
    check(window.find() == [] and program.poll() is None, "a box or an end after No")

    window.click("cmdInfo")  # the info window from its own table; "<<" closes it again
    info = wait_for(lambda: window.find("Somnar-Scheduler INFO"), 10, "the info window")[0]
    at = {k: int(v) for k, v in (kv.split("=") for kv in
                                 window.x("getwindowgeometry", "--shell", info).split())}
    border = (at["WIDTH"] - 8280 // 15) // 2  # Wine draws this window's frame itself
    window.x("mousemove", "--sync", str(at["X"] + border + (6600 + 1455 // 2) // 15),
             str(at["Y"] + at["HEIGHT"] - border - 6195 // 15 + (5700 + 315 // 2) // 15),
             "click", "1")
    wait_for(lambda: not window.find("Somnar-Scheduler INFO"), 10, "the info window to close")

    window.click("optSOMNAR(0)")
    window.open_options()
    window.click("cmdOpenExe")
    chooser = wait_for(lambda: window.find(CHOOSER.replace("ä", ".+")), 15, "the file dialog")[0]
    check(window.x("getwindowname", chooser).strip() == CHOOSER, "the file dialog's title")
    window.x("windowfocus", "--sync", chooser, "key", "--clearmodifiers", "Escape")
    wait_for(lambda: not window.find(CHOOSER.replace("ä", ".+")), 10, "the file dialog to close")

    close(program, window.id)
finally:
    if program is not None and program.poll() is None:
        program.kill()
    xvfb.terminate()
print("ok: the window showed, Escape answered No, the info window came and went, the umlaut "
      "kept, closing ended it with 0")
