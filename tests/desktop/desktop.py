"""What the tests against real desktop software share: a home and runtime folder of their own,
private buses (the session's, and a system bus with the stand-in logind), an X server, and
processes that all end with the test. Each test script takes the program as its argument."""

import os
import random
import shutil
import socket
import struct
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
    def __init__(self, as_nobody=False):
        """AS_NOBODY: every process runs as the user nobody (sway refuses root)."""
        self.program = sys.argv[1]
        self.home = tempfile.mkdtemp()
        self.processes = []
        runtime = self.home + "/run"
        os.mkdir(runtime, 0o700)
        self.prefix, self.peers = [], PEERS
        if as_nobody:  # with copies of what it runs: the checkout may be closed to others
            self.prefix = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
            self.peers = self.home + "/peers"
            shutil.copytree(PEERS, self.peers)
            os.mkdir(self.home + "/bin")
            self.program = shutil.copy(self.program, self.home + "/bin")
            for folder in (self.home, runtime):
                os.chown(folder, 65534, 65534)
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
        process = subprocess.Popen(self.prefix + argv, **options)
        self.processes.append(process)
        return process

    def run(self, argv, timeout=30):
        return subprocess.run(self.prefix + argv, env=self.env, capture_output=True, text=True,
                              timeout=timeout)

    def bus(self, variable="DBUS_SESSION_BUS_ADDRESS"):
        """A bus daemon of its own (the session bus's rules: anything may own any name)."""
        daemon = self.start(["dbus-daemon", "--session", "--nofork", "--print-address"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env[variable] = daemon.stdout.readline().strip()
        return self.env[variable]

    def logind(self, *options):
        """The stand-in logind on a system bus of its own: both sleep states possible."""
        address = self.bus("DBUS_SYSTEM_BUS_ADDRESS")
        peer = self.start([PYTHON, self.peers + "/fake_logind.py", "--address", address, "--record",
                           self.home + "/logind.jsonl", *options], stdout=subprocess.PIPE, text=True)
        check(peer.stdout.readline().strip() == "READY", "the stand-in logind did not start")

    def x_server(self):
        """An Xvfb at a display number of its own (one just given up by another test's server
        may lose its socket when that one removes it late), kept as it is when its last client
        leaves: a server that resets then refuses the next one for a moment."""
        for number in random.sample(range(100, 1000), 20):
            read_end, write_end = os.pipe()
            self.start(["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-noreset",
                        "-nolisten", "tcp", "-screen", "0", "1280x800x24"], pass_fds=[write_end],
                       stderr=subprocess.DEVNULL)
            os.close(write_end)
            # The number, then a line end in a write of its own: the pipe stays open until both
            # came, else the server ends. Nothing comes when the number is taken.
            ready = b""
            while not ready.endswith(b"\n") and (part := os.read(read_end, 16)):
                ready += part
            os.close(read_end)
            ready = ready.decode().strip()
            if ready:
                self.env["DISPLAY"] = ":" + ready
                return
        check(False, "no Xvfb started")

    def xdotool(self, args):
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return done.returncode, done.stdout

    def window(self, timeout=30):
        """The program's main window under the X server, driven with xdotool."""
        return Window(self.xdotool, timeout, wait_for_pointer=False)

    def alive(self, process, what):
        check(process.poll() is None, "%s ended with status %s" % (what, process.returncode))


class Vnc:
    """Pointer and keys into a VNC server (wayvnc) on a UNIX socket, as a viewer sends them."""

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.connect(path)
        self.socket.recv(12)
        self.socket.sendall(b"RFB 003.008\n")
        types = self.socket.recv(self.socket.recv(1)[0])
        check(1 in types, "the VNC server wants a password")
        self.socket.sendall(b"\x01")  # no security
        check(self.socket.recv(4) == b"\0\0\0\0", "the VNC server refused us")
        self.socket.sendall(b"\x01")  # a shared session
        init = self.socket.recv(24)
        self.socket.recv(struct.unpack("!I", init[20:24])[0])  # the desktop's name

    def click(self, x, y, buttons=1):
        """BUTTONS as a mask: 1 the left, 4 the right one."""
        for pressed in (0, buttons, 0):  # the pointer there, the button down, up
            self.socket.sendall(struct.pack("!BBHH", 5, pressed, x, y))
            time.sleep(0.05)

    def key(self, keysym):
        for down in (1, 0):
            self.socket.sendall(struct.pack("!BBxxI", 4, down, keysym))
            time.sleep(0.03)


def settle(seconds=0.5):
    time.sleep(seconds)
