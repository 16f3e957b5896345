#!/usr/bin/python3
"""End to end: the real program in a private Xvfb, driven with xdotool, with the stand-in
logind on a private system bus; what the real-system runs (tests/vm/run) do not show.
Usage: road_test.py PATH/TO/somnar-scheduler. Exits non-zero on any failure."""

import configparser
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

import Xlib.display
import Xlib.protocol

from drive import MAIN_TITLE, Failure, Window, check, wait_for

FAKE_LOGIND = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../peers/fake_logind.py")

class Session:
    """Xvfb, a private system bus, the stand-in logind and the program, in fresh folders."""

    def __init__(self, binary):
        self.binary, self.procs, self.tmp = binary, [], tempfile.mkdtemp(prefix="somnar-e2e-")
        self.env = {k: v for k, v in os.environ.items() if k not in (
            "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER")}
        for key in ("XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"):
            self.env[key] = os.path.join(self.tmp, key)
            os.mkdir(self.env[key], 0o700)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.record, self.log = self.tmp + "/logind.jsonl", self.tmp + "/program.log"

    def set_up(self):
        # Xvfb picks a free display and writes its number to the pipe: no race with others.
        read_end, write_end = os.pipe()
        self.start("Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        self.env["DISPLAY"] = ":" + os.fdopen(read_end).readline().strip()
        bus = self.start("dbus-daemon", "--session", "--nofork", "--print-address=1",
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = bus.stdout.readline().strip()
        logind = self.start("/usr/bin/python3", FAKE_LOGIND, "--address",
                            self.env["DBUS_SYSTEM_BUS_ADDRESS"], "--can-hibernate", "yes",
                            "--can-suspend", "yes", "--record", self.record,
                            stdout=subprocess.PIPE, text=True)
        check(logind.stdout.readline().strip() == "READY", "the stand-in logind did not start")
        with open(self.log, "wb") as log:
            self.program = self.start(self.binary, stdout=log, stderr=subprocess.STDOUT)
        self.window = Window(self.xdotool)
        wait_for(lambda: {"CanHibernate", "CanSuspend"} <= {c.get("method") for c in self.calls()},
                 10, "CanHibernate and CanSuspend")

    def start(self, *command, **options):
        self.procs.append(subprocess.Popen(command, env=self.env, **options))
        return self.procs[-1]

    def xdotool(self, arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True, timeout=10)
        return done.returncode, done.stdout + done.stderr

    def calls(self, method=None):
        with open(self.record, "a+", encoding="utf-8") as f:
            f.seek(0)
            return [e for e in map(json.loads, f) if method in (None, e.get("method"))]

    def close(self, failed):
        if failed and os.path.exists(self.log):
            with open(self.log, errors="replace") as log:
                print("--- logind calls:\n%s\n--- program output:\n%s" % (
                    "\n".join(map(json.dumps, self.calls())), log.read()[-4000:]), file=sys.stderr)
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)

def send_delete_window(display_name, window):
    """WM_DELETE_WINDOW, as a window manager sends it when the user closes a window."""
    x = Xlib.display.Display(display_name)
    event = Xlib.protocol.event.ClientMessage(
        window=window, client_type=x.intern_atom("WM_PROTOCOLS"),
        data=(32, [x.intern_atom("WM_DELETE_WINDOW"), Xlib.X.CurrentTime, 0, 0, 0]))
    x.send_event(window, event)
    x.close()  # flushes

def a_second_start_ends_at_once(s):
    started = time.monotonic()
    status = subprocess.run([s.binary], env=s.env, capture_output=True, timeout=10).returncode
    took = time.monotonic() - started
    check(status == 0 and took < 5, "second start ended with %d after %.1f s" % (status, took))
    check(s.window.find(MAIN_TITLE) == [s.window.id], "a second window appeared")
    check(s.program.poll() is None, "the first copy ended")

def ini_values(path):  # the [Values] group of an ini file that must have mode 0600
    check(os.stat(path).st_mode & 0o777 == 0o600, "%s has mode %o" % (path, os.stat(path).st_mode))
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str  # keys as written
    ini.read(path, encoding="utf-8")
    return dict(ini["Values"]) if ini.has_section("Values") else {}

def closing_stores_the_values_typed(s):
    typed = {"txtUser": "anna", "txtPassword": "geheim-1", "txtServer": "127.0.0.1:2121",
             "txtDir": "/incoming", "txtFTP_USER": "somnaruser", "txtFTP_Password": "pw-42_x"}
    s.window.click("optSOMNAR(0)")
    s.window.open_options()
    for box, fields in (("chkINET", list(typed)[:2]), ("chkFTP", list(typed)[2:])):
        s.window.click(box)
        for field in fields:
            s.window.type_into(field, typed[field])
    send_delete_window(s.env["DISPLAY"], int(s.window.id))
    check(s.program.wait(timeout=10) == 0, "the program ended with %d" % s.program.returncode)
    folder = os.path.join(s.env["XDG_CONFIG_HOME"], "somnar-scheduler")
    dial_up = ini_values(os.path.join(folder, "Verbindung.ini"))
    ftp = ini_values(os.path.join(folder, "VidOru FTP.ini"))
    stored = {"txtUser": dial_up.get("Userername"), "txtPassword": dial_up.get("Password"),
              "txtServer": ftp.get("Server"), "txtDir": ftp.get("Directory"),
              "txtFTP_USER": ftp.get("User"), "txtFTP_Password": ftp.get("Password")}
    check(stored == typed and "Name" in dial_up, "stored %r %r, typed %r" % (dial_up, ftp, typed))

def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    started, session, title = time.monotonic(), Session(os.path.abspath(sys.argv[1])), "set-up"
    try:
        session.set_up()
        # One program run; each scenario goes on from the state the one before left.
        for scenario in (a_second_start_ends_at_once, closing_stores_the_values_typed):
            title = scenario.__name__.replace("_", " ")
            scenario(session)
            print("PASS " + title)
    except (Failure, subprocess.TimeoutExpired, OSError) as error:
        print("FAIL %s: %s" % (title, error))
        title = None
    finally:
        session.close(failed=title is None)
    print("%s in %.1f s" % ("FAILED" if title is None else "OK", time.monotonic() - started))
    return 1 if title is None else 0

if __name__ == "__main__":
    sys.exit(main())
