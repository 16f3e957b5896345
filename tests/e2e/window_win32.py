#!/usr/bin/python3
"""The Windows program under Wine in its own Xvfb, driven with xdotool: the window shows at
each of several starts (SOMNAR_WINDOW_STARTS, 3) and closing ends the program with status 0;
a click on "hibernate now" asks first and Escape answers No (nothing else follows), the
file dialog's title keeps its umlaut on its way through UTF-16 and X, and the info window
opens and closes.
Usage: PROGRAM"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../vm"))
from drive import MAIN_TITLE, Window, check, start_xvfb, wait_for  # noqa: E402

PROGRAM = sys.argv[1]
STARTS = int(os.environ.get("SOMNAR_WINDOW_STARTS", "3"))
CHOOSER = "Exe oder BAT Datei auswählen"
# Without -noreset (start_xvfb's), Wine once ended with status 1 before any window.
xvfb, display = start_xvfb("-screen", "0", "1280x1024x24")
ENV = dict(os.environ, DISPLAY=display)
WINE_SAID = tempfile.TemporaryFile()


def xdotool(args):
    run = subprocess.run(["xdotool", *args], env=ENV, capture_output=True, text=True)
    return run.returncode, run.stdout


def start(exe):
    WINE_SAID.seek(0)
    WINE_SAID.truncate()
    return subprocess.Popen(["wine", exe], env=dict(ENV, WINEDEBUG="err+all"),
                            stdout=subprocess.DEVNULL, stderr=WINE_SAID)


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


def show_and_close():
    """Starts the program; its window shows (if not: what was on the screen, whether the
    program still ran and what Wine said), then it is closed."""
    process = start(PROGRAM)
    found = wait_for(lambda: xdotool(("search", "--onlyvisible", "--name", "^%s$" % MAIN_TITLE))[1],
                     60)
    if not found:
        shown = [xdotool(("getwindowname", w))[1].strip()
                 for w in xdotool(("search", "--onlyvisible", "--name", "."))[1].split()]
        WINE_SAID.seek(0)
        check(False, "timed out after 60 s waiting for the window; on the screen: %s; the program "
              "%s; Wine said: %r" % (shown or "nothing", "runs" if process.poll() is None else
                                     "ended with status %s" % process.returncode,
                                     WINE_SAID.read()[-2000:]))
    close(process, found.split()[0])


program = None
try:
    for _ in range(STARTS):
        show_and_close()

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
print("ok: the window showed at each of %d starts, Escape answered No, the info window came and "
      "went, the umlaut kept, closing ended it with 0" % STARTS)
