#!/usr/bin/python3
"""The real program in Xvfb, typed into with xdotool: a termination signal (the end of the
desktop session) stores exactly what was typed, and the program ends cleanly; a display that
does not answer is told in one line. Usage: session_end.py PROGRAM"""

import configparser
import os
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../vm"))
from drive import Window, check  # noqa: E402

PROGRAM = sys.argv[1]
DIALUP = {"Name": "T-Online Modem", "Userername": "anna", "Password": "ge heim!"}
FTP = {"Server": "ftp.example.org:2121", "User": "web1", "Password": "pw#1", "Directory": "/htdocs"}
FIELDS = dict(zip(("cmbDFUE_Name", "txtUser", "txtPassword"), DIALUP.values()),
              **dict(zip(("txtServer", "txtFTP_USER", "txtFTP_Password", "txtDir"), FTP.values())))


def stored(config, application):
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    check(ini.read(os.path.join(config, "somnar-scheduler", application + ".ini")) != [],
          application + ".ini was not written")
    return dict(ini["Values"])


def main():
    home = tempfile.mkdtemp()
    runtime = os.path.join(home, "run")
    os.mkdir(runtime, 0o700)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_RUNTIME_DIR=runtime,
               DBUS_SYSTEM_BUS_ADDRESS="unix:path=" + home + "/none",
               DBUS_SESSION_BUS_ADDRESS="unix:path=" + home + "/none")
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("WAYLAND_DISPLAY", None)

    for display in ("nirgends:7", ":"):
        run = subprocess.run([PROGRAM], env=dict(env, DISPLAY=display), capture_output=True,
                             text=True, timeout=30)
        check(run.returncode == 1 and run.stderr.count("\n") == 1 and
              "Desktop-Sitzung (die Anzeige „%s“ ist nicht erreichbar)" % display in run.stderr,
              "display %s: status %d, %r" % (display, run.returncode, run.stderr))

    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    env["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()
    try:
        program = subprocess.Popen([PROGRAM], env=env)
        xdotool = lambda args: (lambda r: (r.returncode, r.stdout))(  # noqa: E731
            subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True))
        window = Window(xdotool, 30)
        window.click("optSOMNAR(0)")
        window.open_options()
        window.click("chkINET")
        window.click("chkFTP")
        for field, text in FIELDS.items():
            window.type_into(field, text)
        program.send_signal(signal.SIGTERM)
        check(program.wait(timeout=30) == 0, "ended with status %s" % program.returncode)
        check(stored(env["XDG_CONFIG_HOME"], "Verbindung") == DIALUP, "dial-up values")
        check(stored(env["XDG_CONFIG_HOME"], "VidOru FTP") == FTP, "FTP values")
    finally:
        xvfb.terminate()
    print("ok: display refused in one line; SIGTERM stored what was typed and ended with 0")


if __name__ == "__main__":
    main()
