#!/usr/bin/python3
"""Stand-in for a command-line program the backends start (pon, nmcli), for the tests.

Linked under the program's name in tests/peers/bin, which the tests put first on PATH.
Appends to the file named by SOMNAR_ARGV_RECORD, as JSON arrays one to a line:
  - its argv, the first item being the name it was started by ("pon", not the path);
  - ["open", "3", ...]: the descriptors above 2 it was started with, if there are any;
  - [PATH, TEXT] for every "file PATH" in its arguments: what it read from PATH, as pppd
    reads an options file.
Writes its environment ("NAME=value" lines) to the file named by SOMNAR_ENV_RECORD, if set.
Exits 0.
"""

import json
import os
import sys


def is_open(fd):
    try:
        os.fstat(fd)
        return True
    except OSError:
        return False


def main():
    record = os.environ.get("SOMNAR_ARGV_RECORD")
    if not record:
        return
    argv = [os.path.basename(sys.argv[0])] + sys.argv[1:]
    # The listing's own descriptor is closed again by the time it is tested.
    inherited = sorted(int(fd) for fd in os.listdir("/proc/self/fd") if int(fd) > 2)
    inherited = [str(fd) for fd in inherited if is_open(fd)]
    notes = [argv] + ([["open"] + inherited] if inherited else [])
    for option, value in zip(argv, argv[1:]):
        if option == "file":
            with open(value, encoding="utf-8", errors="surrogateescape", newline="") as text:
                notes.append([value, text.read()])
    # Before the start is noted, so it is there once a test sees the start.
    environment = os.environ.get("SOMNAR_ENV_RECORD")
    if environment:
        with open(environment, "w", encoding="utf-8", errors="surrogateescape") as out:
            out.writelines("%s=%s\n" % item for item in os.environ.items())
    # One write of whole lines, so starts that overlap do not mix their lines.
    lines = "".join(json.dumps(note, ensure_ascii=False) + "\n" for note in notes)
    with open(record, "a", encoding="utf-8", errors="surrogateescape") as out:
        out.write(lines)


if __name__ == "__main__":
    main()
