#!/usr/bin/python3
"""Stand-in for a program the backends start (pon, nmcli), linked under its name in bin/.
Appends to $SOMNAR_ARGV_RECORD, as JSON arrays one to a line: its argv (the first item the
name it was started by); ["open", "3:pipe", ...], the descriptors above 2 it got and what
they are; [PATH, TEXT] for every "file PATH" in its arguments, what it read there, as pppd
reads an options file. Its environment as it got it goes first to $SOMNAR_ARGV_RECORD.environ."""

import json
import os
import sys

argv = [os.path.basename(sys.argv[0])] + sys.argv[1:]
# The listing's own descriptor is closed again once listed.
inherited = ["%s:%s" % (fd, os.readlink("/proc/self/fd/" + fd).split(":")[0])
             for fd in sorted(os.listdir("/proc/self/fd"), key=int)
             if int(fd) > 2 and os.path.exists("/proc/self/fd/" + fd)]
notes = [argv] + ([["open"] + inherited] if inherited else [])
for option, value in zip(argv, argv[1:]):
    if option == "file":
        with open(value, encoding="utf-8", errors="surrogateescape", newline="") as text:
            notes.append([value, text.read()])
with open("/proc/self/environ", "rb") as got, \
        open(os.environ["SOMNAR_ARGV_RECORD"] + ".environ", "wb") as out:
    out.write(got.read())
# One write of whole lines, so starts that overlap do not mix their lines.
with open(os.environ["SOMNAR_ARGV_RECORD"], "a", encoding="utf-8",
          errors="surrogateescape") as out:
    out.write("".join(json.dumps(note, ensure_ascii=False) + "\n" for note in notes))
