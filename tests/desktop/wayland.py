#!/usr/bin/python3
"""On a Wayland compositor (weston, headless) without X: the window opens natively and the
program ends cleanly; without Qt's Wayland plugin (a private mount hides it, as if qt6-wayland
were not installed) the program says so in one German line and ends with status 1.
Usage: PROGRAM"""

import glob
import os
import re
import subprocess

from desktop import Desktop, check, wait_for

PLUGINS = glob.glob("/usr/lib/*/qt6/plugins/platforms")[0]
# What the program asks of the compositor, and what shows that the compositor took it.
MAPPED = [r'xdg_toplevel@\d+\.set_title\("Hibernate-Standby-Somnar-Scheduler"\)',
          r"xdg_toplevel@\d+\.configure\(", r"-> xdg_surface@\d+\.ack_configure\(",
          r"-> wl_surface@\d+\.attach\(wl_buffer@\d+"]

with Desktop() as desktop:
    desktop.start(["weston", "--backend=headless-backend.so", "--socket=wayland-test",
                   "--idle-time=0"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    socket = desktop.env["XDG_RUNTIME_DIR"] + "/wayland-test"
    wait_for(lambda: os.path.exists(socket), 20, "weston's socket")
    desktop.env.update(WAYLAND_DISPLAY="wayland-test", WAYLAND_DEBUG="client")
    log = desktop.home + "/wayland.log"
    with open(log, "w", encoding="utf-8") as out:
        program = desktop.start([desktop.program], stderr=out)

    def said():
        with open(log, encoding="utf-8", errors="replace") as out:
            return out.read()
    wait_for(lambda: desktop.alive(program, "the program") or
             all(re.search(p, said()) for p in MAPPED), 30, "the window on weston")
    program.terminate()
    check(program.wait(timeout=20) == 0, "ended with status %s" % program.returncode)

    # Qt's platform folder with the X11 plugin only, in a mount namespace of this test.
    only_x11 = desktop.home + "/platforms"
    os.mkdir(only_x11)
    subprocess.run(["cp", PLUGINS + "/libqxcb.so", only_x11], check=True)
    del desktop.env["WAYLAND_DEBUG"]
    done = desktop.run(["unshare", "--mount", "sh", "-c", 'mount --bind "$0" "$1" && exec "$2"',
                        only_x11, PLUGINS, desktop.program])
    check(done.returncode == 1 and done.stderr.count("\n") == 1 and "„wayland-test“ nicht "
          "starten, Qt fehlt das Modul dafür (für Wayland das Paket qt6-wayland)" in done.stderr,
          "without the Wayland plugin: %r" % done)
print("ok: a native window on weston; without the Wayland plugin one German line, status 1")
