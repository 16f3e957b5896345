#!/usr/bin/python3
"""The program in Xvfb, typed into with xdotool: SIGTERM (the end of the session) stores exactly
what was typed, status 0; the options opened low on the screen stay on it; a display that does
not answer is told in one line. Usage: PROGRAM"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../vm"))
from drive import Window, check, start_xvfb  # noqa: E402

PROGRAM, HOME = sys.argv[1], tempfile.mkdtemp()
TYPED = [("cmbDFUE_Name", "T-Online Modem"), ("txtUser", "anna"), ("txtPassword", "ge heim!"),
         ("txtServer", "ftp.example.org:2121"), ("txtFTP_USER", "web1"),
         ("txtFTP_Password", "pw#1"), ("txtDir", "/htdocs")]
STORED = {"Verbindung": "[Values]\nName=T-Online Modem\nPassword=ge heim!\nUserername=anna\n",
          "VidOru FTP": "[Values]\nDirectory=/htdocs\nPassword=pw#1\nServer=ftp.example.org:2121"
                        "\nUser=web1\n"}
os.mkdir(HOME + "/run", 0o700)
ENV = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
ENV.update(HOME=HOME, XDG_CONFIG_HOME=HOME, XDG_RUNTIME_DIR=HOME + "/run",
           DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nowhere", DBUS_SESSION_BUS_ADDRESS="unix:path=/nowhere")

for display in ("nirgends:7", ":"):
    run = subprocess.run([PROGRAM], env=dict(ENV, DISPLAY=display), capture_output=True, text=True)
    check(run.returncode == 1 and run.stderr.count("\n") == 1 and
          "(die Anzeige „%s“ ist nicht erreichbar)" % display in run.stderr, repr(run))

xvfb, ENV["DISPLAY"] = start_xvfb()
try:
    program = subprocess.Popen([PROGRAM], env=ENV)
    window = Window(lambda args: (lambda r: (r.returncode, r.stdout))(subprocess.run(
        ["xdotool", *args], env=ENV, capture_output=True, text=True)), 30)
    window.click("optSOMNAR(0)")
    # Opened low on the screen, the options move the window up until all of it shows.
    screen_height = int(window.x("getdisplaygeometry").split()[1])
    window.x("windowmove", "--sync", window.id, "100", str(screen_height - 300))
    window.open_options()
    check(sum(window.geometry()[1:]) <= screen_height, "the options reach off the screen")
    for field, text in [("chkINET", None), ("chkFTP", None)] + TYPED:
        window.type_into(field, text) if text else window.click(field)
    program.terminate()
    check(program.wait(timeout=30) == 0, "ended with status %s" % program.returncode)
    for application, text in STORED.items():
        with open("%s/somnar-scheduler/%s.ini" % (HOME, application), encoding="utf-8") as file:
            check(file.read() == text, application + ".ini")
finally:
    xvfb.terminate()
print("ok: an unreachable display told in one line; the options stay on the screen; SIGTERM "
      "stored what was typed, status 0")
