"""What the tests against real desktop software share: a home and runtime folder of their own,
private buses (the session's, and a system bus with the stand-in logind), an X server, and
processes that all end with the test. Each test script takes the program as its argument."""

import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "../vm"))
from drive import Failure, Window, centre, check, wait_for  # noqa: E402,F401

PEERS = os.path.join(HERE, "../peers")
PYTHON = "/usr/bin/python3"


class Desktop:
    def __init__(self):
        self.program = sys.argv[1]
        self.home = tempfile.mkdtemp()
        self.processes = []
        runtime = self.home + "/run"
        os.mkdir(runtime, 0o700)
        keep = ("PATH", "LANG", "LC_ALL", "TZ")
        self.env = {k: v for k, v in os.environ.items() if k in keep}
        self.env.update(HOME=self.home, XDG_CONFIG_HOME=self.home, XDG_RUNTIME_DIR=runtime,
                        DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nowhere",
                        DBUS_SESSION_BUS_ADDRESS="unix:path=/nowhere")

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()

    def start(self, argv, **options):
        options.setdefault("env", self.env)
        process = subprocess.Popen(argv, **options)
        self.processes.append(process)
        return process

    def run(self, argv, timeout=30):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout)

    def bus(self, variable="DBUS_SESSION_BUS_ADDRESS"):
        """A bus daemon of its own (the session bus's rules: anything may own any name)."""
        daemon = self.start(["dbus-daemon", "--session", "--nofork", "--print-address"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env[variable] = daemon.stdout.readline().strip()
        return self.env[variable]

    def logind(self, *options):
        """The stand-in logind on a system bus of its own: both sleep states possible."""
        address = self.bus("DBUS_SYSTEM_BUS_ADDRESS")
        peer = self.start([PYTHON, PEERS + "/fake_logind.py", "--address", address, "--record",
                           self.home + "/logind.jsonl", *options], stdout=subprocess.PIPE, text=True)
        check(peer.stdout.readline().strip() == "READY", "the stand-in logind did not start")

    def x_server(self):
        read_end, write_end = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                    "1280x800x24"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()
        os.close(read_end)
        os.close(write_end)

    def xdotool(self, args):
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return done.returncode, done.stdout

    def window(self, timeout=30):
        """The program's main window under the X server, driven with xdotool."""
        return Window(self.xdotool, timeout)

    @staticmethod
    def click(window, name, button="1"):
        """As Window.click, without waiting for the pointer: that wait stalls for 15 s at times."""
        left, top, _ = window.geometry()
        dx, dy = centre(name)
        window.x("mousemove", str(left + dx), str(top + dy), "click", button)

    def type_into(self, window, name, text):
        """Replaces an editable control's text and leaves it with Tab, so it is taken."""
        self.click(window, name)
        window.x("key", "--clearmodifiers", "ctrl+a", "BackSpace")
        window.x("type", "--clearmodifiers", "--delay", "20", text)
        window.x("key", "--clearmodifiers", "Tab")

    def alive(self, process, what):
        check(process.poll() is None, "%s ended with status %s" % (what, process.returncode))


def settle(seconds=0.5):
    time.sleep(seconds)
