#!/usr/bin/python3
"""The real program in Xvfb, typed into with xdotool: SIGTERM (the end of the session) stores
exactly what was typed and the program ends with 0; a display that does not answer is told
in one line. Usage: session_end.py PROGRAM"""

import configparser
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../vm"))
from drive import Window, check  # noqa: E402

PROGRAM, HOME = sys.argv[1], tempfile.mkdtemp()
DIALUP = {"Name": "T-Online Modem", "Userername": "anna", "Password": "ge heim!"}
FTP = {"Server": "ftp.example.org:2121", "User": "web1", "Password": "pw#1", "Directory": "/htdocs"}
FIELDS = ["cmbDFUE_Name", "txtUser", "txtPassword", "txtServer", "txtFTP_USER", "txtFTP_Password",
          "txtDir"]
os.mkdir(HOME + "/run", 0o700)
ENV = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
ENV.update(HOME=HOME, XDG_CONFIG_HOME=HOME + "/config", XDG_RUNTIME_DIR=HOME + "/run",
           DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nowhere", DBUS_SESSION_BUS_ADDRESS="unix:path=/nowhere")


def stored(application):
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini.read(os.path.join(HOME, "config/somnar-scheduler", application + ".ini"))
    return dict(ini["Values"]) if ini.has_section("Values") else None


for display in ("nirgends:7", ":"):
    run = subprocess.run([PROGRAM], env=dict(ENV, DISPLAY=display), capture_output=True, text=True)
    check(run.returncode == 1 and run.stderr.count("\n") == 1 and
          "(die Anzeige „%s“ ist nicht erreichbar)" % display in run.stderr, repr(run))

read_end, write_end = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"],
                        pass_fds=[write_end], stderr=subprocess.DEVNULL)
ENV["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()
try:
    program = subprocess.Popen([PROGRAM], env=ENV)
    window = Window(lambda args: (lambda r: (r.returncode, r.stdout))(subprocess.run(
        ["xdotool", *args], env=ENV, capture_output=True, text=True)), 30)
    for name in ("optSOMNAR(0)", "open", "chkINET", "chkFTP"):
        window.open_options() if name == "open" else window.click(name)
    for field, text in zip(FIELDS, [*DIALUP.values(), *FTP.values()]):
        window.type_into(field, text)
    program.terminate()
    check(program.wait(timeout=30) == 0, "ended with status %s" % program.returncode)
    check((stored("Verbindung"), stored("VidOru FTP")) == (DIALUP, FTP), "stored values")
finally:
    xvfb.terminate()
print("ok: an unreachable display told in one line; SIGTERM stored what was typed, status 0")
