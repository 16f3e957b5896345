#!/usr/bin/python3
"""End to end: the real program in a private Xvfb, driven with xdotool, with the stand-in
logind on a private bus.

Usage: road_test.py PATH/TO/somnar-scheduler

Scenarios:
  1. "nein" selected, "Standby jetzt", answer "Ja": exactly one Suspend(true) reaches
     logind and the program keeps running with its window.
  2. "ja, ... Aufwachzeit", "Ruhezustand jetzt", answer "Ja" on a machine without a
     real-time clock: a refusal box appears and no Hibernate reaches logind.
  3. A second start while the first runs ends at once with status 0 and no window.
  4. Closing the window (WM_DELETE_WINDOW, as a window manager sends it) stores the
     dial-up values in Verbindung.ini with mode 0600.

Then, each in a program run of its own with fresh folders:
  5. "ja, ... Aufwachzeit" with DSL, FTP publication and renewed hibernation after one
     minute, "Standby jetzt": one Suspend, ip.html on the loopback FTP server identical to
     the one written beside the program, the FTP values stored with mode 0600, and about a
     minute later one Hibernate.
  6. "nein" with the standby time set to the next minute, "Standby" (timed): the opened
     window shrinks back, one Suspend at that minute and nothing after the wake-up.

Every wait polls for its effect with a bounded deadline. Exits non-zero on any failure.
"""

import ctypes
import datetime
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FAKE_LOGIND = os.path.join(HERE, "..", "peers", "fake_logind.py")
FTP_SERVER = os.path.join(HERE, "..", "peers", "ftp_server.py")
PYTHON = "/usr/bin/python3"
MAIN_TITLE = "Hibernate-Standby-Somnar-Scheduler"
BOX_TITLE = "Somnar-Scheduler"

# Places in twips (left, top, width, height), each relative to its container; the
# pixel place is twips / 15.
PLACES = {
    "Frame4": (None, (120, 300, 5175, 1575)),
    "Frame5": ("Frame4", (4260, 180, 735, 1335)),
    "cmdHibernate": ("Frame5", (110, 240, 495, 435)),
    "cmdSuspend": ("Frame5", (110, 840, 495, 435)),
    "Frame1(0)": (None, (5400, 300, 2655, 1575)),
    "cmbHour": ("Frame1(0)", (120, 1140, 615, 330)),
    "cmbMinute": ("Frame1(0)", (900, 1140, 615, 330)),
    "Frame2": (None, (120, 1920, 5175, 615)),
    "optSOMNAR(0)": ("Frame2", (240, 300, 3375, 195)),
    "optSOMNAR(1)": ("Frame2", (4140, 300, 855, 195)),
    "chkActionen": (None, (6000, 2640, 2055, 375)),
    "cmbHour_aus": ("Frame4", (180, 1140, 615, 330)),
    "cmbMinute_aus": ("Frame4", (840, 1140, 615, 330)),
    "cmdRS_aus(1)": ("Frame4", (2460, 1020, 1635, 435)),
    "chkDSL": (None, (5400, 3240, 2595, 255)),
    "Frame1(1)": (None, (0, 4860, 8175, 2415)),
    "chkFTP": ("Frame1(1)", (180, 0, 7935, 255)),
    "txtServer": ("Frame1(1)", (2880, 540, 2715, 285)),
    "txtDir": ("Frame1(1)", (2880, 900, 2415, 285)),
    "txtFTP_USER": ("Frame1(1)", (2880, 1260, 2415, 285)),
    "txtFTP_Password": ("Frame1(1)", (2880, 1620, 2415, 285)),
    "chkSLEEPnachSOMNAR": (None, (180, 8700, 7935, 375)),
    "Frame3": (None, (120, 9120, 7995, 675)),
    "Option1(0)": ("Frame3", (420, 300, 1635, 195)),
    "Option1(1)": ("Frame3", (2700, 300, 1635, 195)),
    "cmbSpanne": ("Frame3", (6300, 240, 795, 330)),
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(0.05)


def control_centre(name):
    """The centre of a control in pixels, relative to the window's client area; for a
    picker the middle of its text part, clear of the drop-down arrow."""
    container, (left, top, width, height) = PLACES[name]
    x = left + (150 if name.startswith("cmb") else width / 2.0)
    y = top + height / 2.0
    while container is not None:
        container, (cl, ct, _, _) = PLACES[container]
        x += cl
        y += ct
    return int(round(x / 15.0)), int(round(y / 15.0))


class Session:
    """Xvfb, a private system bus, the stand-in logind and the program, cleaned up on exit."""

    def __init__(self, binary):
        self.binary = binary
        self.tmp = tempfile.mkdtemp(prefix="somnar-e2e-")
        self.procs = []  # Popen objects we own, stopped in reverse order
        self.bus_pid = None
        self.env = dict(os.environ)
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS",
                    "SESSION_MANAGER"):
            self.env.pop(key, None)
        runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime, 0o700)
        os.chmod(runtime, 0o700)
        self.config = os.path.join(self.tmp, "config")
        os.mkdir(self.config)
        os.mkdir(os.path.join(self.tmp, "data"))
        self.env.update({
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": os.path.join(self.tmp, "data"),
            "QT_QPA_PLATFORM": "xcb",
        })
        self.record = os.path.join(self.tmp, "logind.jsonl")
        self.program = None

    # --- set-up -------------------------------------------------------------------------

    def start_x(self):
        # Xvfb picks a free display itself and writes its number to the pipe: no race with
        # other X servers starting at the same time.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        self.procs.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()  # EOF when Xvfb died
        check(number.isdigit(), "Xvfb did not report its display")
        self.env["DISPLAY"] = ":" + number
        wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0,
                 10, "Xvfb to answer")

    def start_bus(self):
        out = subprocess.run(
            ["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
            env=self.env, capture_output=True, text=True, timeout=10)
        lines = out.stdout.split()
        check(out.returncode == 0 and len(lines) >= 2, "dbus-daemon did not start: " + out.stderr)
        self.bus_pid = int(lines[1])
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = lines[0]

    def start_logind(self):
        logind = subprocess.Popen(
            [PYTHON, FAKE_LOGIND, "--address", self.env["DBUS_SYSTEM_BUS_ADDRESS"],
             "--can-hibernate", "yes", "--can-suspend", "yes", "--record", self.record],
            env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.procs.append(logind)
        line = logind.stdout.readline()  # READY, or EOF when it died
        check(line.strip() == "READY", "the stand-in logind did not get ready")

    def start_program(self):
        self.program_log = os.path.join(self.tmp, "program.log")
        with open(self.program_log, "wb") as log:
            self.program = subprocess.Popen([self.binary], env=self.env,
                                            stdout=log, stderr=subprocess.STDOUT)
        self.procs.append(self.program)
        self.window = wait_for(lambda: self.find_windows(MAIN_TITLE), 15,
                               "the main window")[0]
        # Let the window reach its final place before the first click.
        wait_for(lambda: self.geometry(self.window), 5, "the window's geometry")
        # The capabilities come from logind: wait until the program has asked both.
        wait_for(lambda: {"CanHibernate", "CanSuspend"} <=
                 {c.get("method") for c in self.calls()}, 10, "CanHibernate and CanSuspend")

    def start_ftp(self, home, user, password, folder):
        ftp = subprocess.Popen(
            [PYTHON, FTP_SERVER, "--home", home, "--user", user, "--password", password,
             "--folder", folder],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.procs.append(ftp)
        line = ftp.stdout.readline()  # PORT n, or EOF when it died
        check(line.startswith("PORT "), "the FTP server did not start")
        return int(line.split()[1])

    # --- X helpers ----------------------------------------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + list(args), env=self.env, capture_output=True,
                              text=True, timeout=10)

    def find_windows(self, title):
        out = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title)
        return [int(w) for w in out.stdout.split()]

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", "--shell", str(window))
        if out.returncode != 0:
            return None
        values = dict(line.split("=", 1) for line in out.stdout.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, name):
        x0, y0, _, _ = self.geometry(self.window)
        dx, dy = control_centre(name)
        out = self.xdotool("mousemove", "--sync", str(x0 + dx), str(y0 + dy), "click", "1")
        check(out.returncode == 0, "xdotool click failed: " + out.stderr)

    def type_into(self, name, text):
        """Replace the text of an editable control: click into it, select all, type."""
        self.xdotool("windowfocus", "--sync", str(self.window))
        self.click(name)
        out = self.xdotool("key", "--clearmodifiers", "ctrl+a", "BackSpace")
        check(out.returncode == 0, "xdotool key failed: " + out.stderr)
        out = self.xdotool("type", "--clearmodifiers", "--delay", "20", text)
        check(out.returncode == 0, "xdotool type failed: " + out.stderr)
        # Leave the field with Tab so the control takes the text as entered.
        self.xdotool("key", "--clearmodifiers", "Tab")

    def answer_box(self, box):
        """Focus a message box and press Return (its default, first button)."""
        # A key pressed before the box took the focus is lost: press again only while the
        # box is still there, so no answer can reach a later box.
        for attempt in range(3):
            self.xdotool("windowfocus", "--sync", str(box))
            out = self.xdotool("key", "--clearmodifiers", "Return")
            check(out.returncode == 0, "xdotool key failed: " + out.stderr)
            try:
                wait_for(lambda: box not in self.find_windows(BOX_TITLE), 2, "the box to close")
                return
            except Failure:
                if attempt == 2:
                    raise

    def wait_box(self, other_than=(), what="a message box"):
        found = wait_for(lambda: [w for w in self.find_windows(BOX_TITLE) if w not in other_than],
                         8, what)
        return found[0]

    def calls(self, method=None):
        try:
            with open(self.record, encoding="utf-8") as f:
                entries = [json.loads(line) for line in f if line.strip()]
        except FileNotFoundError:
            return []
        if method is None:
            return entries
        return [e for e in entries if e.get("method") == method]

    # --- tear-down ----------------------------------------------------------------------

    @staticmethod
    def stop(proc):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(timeout=5)

    def report(self):
        """What the peers saw, printed after a failure."""
        print("--- logind calls:", file=sys.stderr)
        for entry in self.calls():
            print("    %s" % json.dumps(entry), file=sys.stderr)
        if self.program is not None:
            with open(self.program_log, encoding="utf-8", errors="replace") as log:
                print("--- program output:\n" + log.read()[-4000:], file=sys.stderr)

    def close(self):
        for proc in reversed(self.procs):
            try:
                self.stop(proc)
            except Exception as error:  # keep cleaning up the rest
                print("cleanup: %s" % error, file=sys.stderr)
        if self.bus_pid is not None:
            try:
                os.kill(self.bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.tmp, ignore_errors=True)


def send_delete_window(display_name, window):
    """Send WM_DELETE_WINDOW to a window, as a window manager does when the user closes it."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(display_name.encode())
    check(display, "cannot open display " + display_name)
    try:
        event = Event()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        check(x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)) != 0,
              "XSendEvent failed")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


# --- scenarios ----------------------------------------------------------------------------

def standby_now_without_wake_up(s):
    s.click("optSOMNAR(1)")
    s.click("cmdSuspend")
    box = s.wait_box(what="the standby question")
    s.answer_box(box)
    wait_for(lambda: s.calls("Suspend"), 5, "a Suspend call")
    # Let the sleep and the wake-up pass, then count again: exactly one.
    wait_for(lambda: any(e.get("signal") == "PrepareForSleep" and e.get("args") == [False]
                         for e in s.calls()), 5, "the wake-up announcement")
    time.sleep(0.3)
    suspends = s.calls("Suspend")
    check(len(suspends) == 1, "expected one Suspend call, got %r" % suspends)
    check(suspends[0].get("args") == [True], "Suspend not interactive: %r" % suspends[0])
    check(not s.calls("Hibernate"), "unexpected Hibernate call")
    check(s.program.poll() is None, "the program ended after the wake-up")
    check(s.window in s.find_windows(MAIN_TITLE), "the main window is gone")


def hibernate_now_without_clock_refuses(s):
    if os.path.exists("/sys/class/rtc/rtc0"):
        return "skipped: this machine has a real-time clock (/sys/class/rtc/rtc0)"
    s.click("optSOMNAR(0)")
    s.click("cmdHibernate")
    question = s.wait_box(what="the hibernation confirmation")
    s.answer_box(question)
    refusal = s.wait_box(other_than=(question,), what="the refusal box")
    check(not s.calls("Hibernate"), "Hibernate called although no wake-up could be armed")
    s.answer_box(refusal)
    time.sleep(0.3)
    check(not s.calls("Hibernate"), "Hibernate called after the refusal was closed")
    check(not s.find_windows(BOX_TITLE), "another box appeared after the refusal")
    check(s.program.poll() is None, "the program ended")
    return None


def second_start_ends_at_once(s):
    before = set(s.find_windows(MAIN_TITLE))
    started = time.monotonic()
    second = subprocess.run([s.binary], env=s.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=10)
    took = time.monotonic() - started
    check(second.returncode == 0, "second start ended with %d" % second.returncode)
    check(took < 5, "second start took %.1f s" % took)
    check(set(s.find_windows(MAIN_TITLE)) == before, "a second window appeared")
    check(s.program.poll() is None, "the first copy ended")


def closing_stores_dial_up_values(s):
    ini = os.path.join(s.config, "somnar-scheduler", "Verbindung.ini")
    if os.path.exists(ini):
        os.remove(ini)
    send_delete_window(s.env["DISPLAY"], s.window)
    code = s.program.wait(timeout=10)
    check(code == 0, "the program ended with %d after closing" % code)
    check(os.path.exists(ini), "Verbindung.ini not written on closing")
    mode = os.stat(ini).st_mode & 0o777
    check(mode == 0o600, "Verbindung.ini has mode %o" % mode)
    with open(ini, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    check("[Values]" in lines, "no [Values] group in %r" % lines)
    section = lines[lines.index("[Values]") + 1:]
    section = section[:next((i for i, l in enumerate(section) if l.startswith("[")),
                            len(section))]
    keys = {l.split("=", 1)[0] for l in section if "=" in l}
    for key in ("Name", "Userername", "Password"):
        check(key in keys, "key %s missing in [Values]: %r" % (key, section))


def ini_values(path, group):
    """The key=value lines of one [group] of an ini file."""
    with open(path, encoding="utf-8") as f:
        lines = [line.rstrip("\r\n") for line in f]
    check("[%s]" % group in lines, "no [%s] group in %r" % (group, lines))
    values = {}
    for line in lines[lines.index("[%s]" % group) + 1:]:
        if line.startswith("["):
            break
        if "=" in line:
            key, value = line.split("=", 1)
            values[key.strip()] = value.strip()
    return values


def standby_now_publishes_ip_and_hibernates_again(s):
    if not subprocess.run(["ip", "-4", "route", "show", "default"], capture_output=True,
                          text=True).stdout.strip():
        return "skipped: no default route, the program would not count as online"
    now = datetime.datetime.now()
    if now.hour == 23 and now.minute >= 50:
        return "skipped: the preset wake-up time would fall on the next day"
    local_copy = os.path.join(os.path.dirname(s.binary), "ip.html")
    if os.path.exists(local_copy):
        os.remove(local_copy)  # so the one compared below is this run's
    folder, user, password = "incoming", "somnaruser", "pw-42_x"
    home = os.path.join(s.tmp, "ftphome")
    os.mkdir(home)
    port = s.start_ftp(home, user, password, folder)
    server = "127.0.0.1:%d" % port

    s.click("optSOMNAR(0)")
    _, _, _, compact = s.geometry(s.window)
    s.click("chkActionen")
    wait_for(lambda: s.geometry(s.window)[3] > compact + 300, 5, "the options to open")
    s.click("chkDSL")
    s.click("chkFTP")
    s.type_into("txtServer", server)
    s.type_into("txtDir", "/" + folder)
    s.type_into("txtFTP_USER", user)
    s.type_into("txtFTP_Password", password)
    s.click("chkSLEEPnachSOMNAR")
    s.click("Option1(0)")
    s.type_into("cmbSpanne", "1")
    s.click("cmdSuspend")
    box = s.wait_box(what="the standby question")
    s.answer_box(box)
    wait_for(lambda: s.calls("Suspend"), 10, "a Suspend call")
    asleep_at = time.monotonic()

    uploaded = os.path.join(home, folder, "ip.html")
    wait_for(lambda: os.path.exists(uploaded) and os.path.exists(local_copy) and
             os.path.getsize(uploaded) > 0 and
             os.path.getsize(uploaded) == os.path.getsize(local_copy),
             30, "ip.html on the FTP server")
    with open(uploaded, "rb") as f:
        remote = f.read()
    with open(local_copy, "rb") as f:
        local = f.read()
    check(remote == local, "uploaded ip.html differs: %r vs %r" % (remote, local))
    check(remote.endswith(b"\r\n"), "ip.html does not end with CR LF: %r" % remote)
    lines = remote.split(b"\r\n")[:-1]
    check(len(lines) == 4 and not any(b"\n" in l or b"\r" in l for l in lines),
          "ip.html is not 4 CR LF lines: %r" % remote)
    match = re.match(rb"<CENTER> Meine IP-Adresse lautet: (\d+)\.(\d+)\.(\d+)\.(\d+)",
                     lines[1])
    check(match, "line 2 of ip.html is %r" % lines[1])
    octets = [int(g) for g in match.groups()]
    check(octets[0] not in (0, 127) and all(o <= 255 for o in octets),
          "ip.html names no usable address: %r" % lines[1])

    ini = os.path.join(s.config, "somnar-scheduler", "VidOru FTP.ini")
    wait_for(lambda: os.path.exists(ini), 5, "VidOru FTP.ini")
    mode = os.stat(ini).st_mode & 0o777
    check(mode == 0o600, "VidOru FTP.ini has mode %o" % mode)
    values = ini_values(ini, "Values")
    expected = {"Server": server, "User": user, "Password": password,
                "Directory": "/" + folder}
    for key, value in expected.items():
        check(values.get(key) == value, "%s in VidOru FTP.ini is %r, typed %r"
              % (key, values.get(key), value))

    check(len(s.calls("Suspend")) == 1, "expected one Suspend, got %r" % s.calls("Suspend"))
    check(not s.calls("Hibernate"), "Hibernate before the minute was over")
    wait_for(lambda: s.calls("Hibernate"), 90, "the renewed hibernation")
    took = time.monotonic() - asleep_at
    check(45 <= took, "renewed hibernation after %.0f s, one minute was set" % took)
    time.sleep(0.5)
    check(len(s.calls("Hibernate")) == 1, "expected one Hibernate, got %r"
          % s.calls("Hibernate"))
    check(len(s.calls("Suspend")) == 1, "a second Suspend: %r" % s.calls("Suspend"))
    return None


def timed_standby_next_minute(s):
    now = datetime.datetime.now()
    if now.second >= 50:  # too close to the next minute to set the pickers in time
        time.sleep(61 - now.second)
        now = datetime.datetime.now()
    if now.hour == 23 and now.minute >= 58:
        return "skipped: less than 2 minutes before midnight"
    target = (now + datetime.timedelta(minutes=1)).replace(second=0, microsecond=0)
    # Open the options (possible only with "ja"), then "nein": the window stays open, so
    # that the request's shrinking back to the compact view can be seen.
    s.click("optSOMNAR(0)")
    _, _, _, compact = s.geometry(s.window)
    s.click("chkActionen")
    wait_for(lambda: s.geometry(s.window)[3] > compact + 300, 5, "the options to open")
    s.click("optSOMNAR(1)")
    s.type_into("cmbHour_aus", "%02d" % target.hour)
    s.type_into("cmbMinute_aus", "%02d" % target.minute)
    _, _, _, before = s.geometry(s.window)
    s.click("cmdRS_aus(1)")
    box = s.wait_box(what="the standby confirmation")
    s.answer_box(box)
    wait_for(lambda: s.geometry(s.window) and s.geometry(s.window)[3] < before, 5,
             "the window to shrink")
    check(not s.calls("Suspend"), "Suspend before the set minute")
    wait_for(lambda: s.calls("Suspend"), 75, "the timed Suspend")
    fired = datetime.datetime.now()
    check(fired >= target - datetime.timedelta(seconds=1),
          "Suspend at %s, before %s" % (fired.time(), target.time()))
    wait_for(lambda: any(e.get("signal") == "PrepareForSleep" and e.get("args") == [False]
                         for e in s.calls()), 10, "the wake-up announcement")
    time.sleep(3)
    check(len(s.calls("Suspend")) == 1, "expected one Suspend, got %r" % s.calls("Suspend"))
    check(not s.calls("Hibernate"), "unexpected Hibernate: %r" % s.calls("Hibernate"))
    return None


SCENARIOS = [
    ("standby now without wake-up reaches logind once", standby_now_without_wake_up),
    ("hibernation now without a real-time clock is refused", hibernate_now_without_clock_refuses),
    ("a second start ends at once with status 0", second_start_ends_at_once),
    ("closing the window stores the dial-up values", closing_stores_dial_up_values),
]

# Each list runs in a program run of its own, with fresh folders.
RUNS = [
    SCENARIOS,
    [("standby now with wake-up publishes the IP by FTP and hibernates again",
      standby_now_publishes_ip_and_hibernates_again)],
    [("timed standby at the next minute, no wake-up", timed_standby_next_minute)],
]


def run(binary, scenarios):
    """One program run; returns the number of failures."""
    failures = 0
    session = Session(binary)
    try:
        session.start_x()
        session.start_bus()
        session.start_logind()
        session.start_program()
        for title, scenario in scenarios:
            try:
                note = scenario(session)
            except Failure as error:
                failures += 1
                print("FAIL %s: %s" % (title, error), flush=True)
                break  # later scenarios build on the program's state
            print("%s %s%s" % ("SKIP" if note else "PASS", title,
                               " (%s)" % note if note else ""), flush=True)
    except (Failure, subprocess.TimeoutExpired, OSError) as error:
        failures += 1
        print("FAIL set-up: %s" % error, flush=True)
    finally:
        if failures:
            session.report()
        session.close()
    return failures


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    binary = os.path.abspath(sys.argv[1])
    started = time.monotonic()
    failures = sum(run(binary, scenarios) for scenarios in RUNS)
    print("%s in %.1f s" % ("FAILED" if failures else "OK", time.monotonic() - started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
