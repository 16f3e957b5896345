#!/usr/bin/python3
"""After an unattended wake-up the program to start cannot be started (its command line needs a
shell), and the desktop's notification daemon (dunst, with markup on and off) shows the
program's own words, "< > &" included, exactly as written. Usage: PROGRAM"""

import json
import subprocess
from xml.etree import ElementTree

from desktop import Desktop, check, wait_for

COMMAND = "echo a | cat"
TEXT = ("Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) { } oder "
        "$( )); solche Befehle so angeben: /bin/sh -c '...'")


def shown(desktop):
    """The lines dunst has shown: its markup as the parser reads it (once closed, history)."""
    desktop.run(["dunstctl", "close-all"])
    history = json.loads(desktop.run(["dunstctl", "history"]).stdout)["data"][0]
    try:
        return ["".join(ElementTree.fromstring("<m>%s</m>" % entry["message"]["data"]).itertext())
                for entry in history]
    except ElementTree.ParseError as error:
        return ["unreadable markup: %s in %r" % (error, history)]


for markup in ("full", "no"):
    with Desktop() as desktop:
        desktop.bus()
        desktop.logind()
        desktop.x_server()
        with open(desktop.home + "/dunstrc", "w", encoding="utf-8") as config:
            config.write("[global]\nmarkup = %s\n" % markup)
        desktop.start(["dunst", "-config", desktop.home + "/dunstrc"], stderr=subprocess.DEVNULL)
        program = desktop.start([desktop.program])
        window = desktop.window()
        window.click("optSOMNAR(0)")  # a wake-up ten minutes ahead
        window.open_options()
        window.click("chkPROG")
        window.type_into("Text1", COMMAND)
        others = window.find()
        window.click("cmdSuspend")
        window.answer("the confirmation", other_than=others, sleeps=True)
        wait_for(lambda: desktop.run(["dunstctl", "count", "displayed"]).stdout.strip() != "0",
                 30, "a notification after the wake-up")
        bodies = shown(desktop)
        desktop.alive(program, "the program")
        check(bodies == ["Somnar-Scheduler: Problem nach dem Aufwachen\n"
                         "Programmstart fehlgeschlagen: " + TEXT],
              "with markup %s dunst showed %r" % (markup, bodies))
print("ok: dunst shows the program's words as written, with markup on and off")
