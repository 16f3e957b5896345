#!/usr/bin/python3
"""Stand-in for a command-line program the backends start (pon, nmcli), for the tests.

Linked under the program's name in tests/peers/bin, which the tests put first on PATH.
Appends its argv as one JSON line to the file named by SOMNAR_ARGV_RECORD, the first item
being the name it was started by ("pon", not the path), and exits 0.
"""

import json
import os
import sys


def main():
    record = os.environ.get("SOMNAR_ARGV_RECORD")
    if record:
        argv = [os.path.basename(sys.argv[0])] + sys.argv[1:]
        # One write of a whole line, so starts that overlap do not mix their lines.
        line = json.dumps(argv, ensure_ascii=False) + "\n"
        with open(record, "a", encoding="utf-8", errors="surrogateescape") as out:
            out.write(line)


if __name__ == "__main__":
    main()
