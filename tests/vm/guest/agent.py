#!/usr/bin/python3
"""Test agent inside the guest: runs shell commands that the harness sends over a virtio
console, one JSON object a line, and answers each with its exit status and output.

  request:  {"id": 7, "cmd": "date +%s", "timeout": 10}
  answer:   {"id": 7, "rc": 0, "out": "1796625600\n"}

Started once as root (a system service) and once in tester's login session on tty1, so
that what it starts belongs to that session. The console survives standby and
hibernation, so the agent simply keeps reading.
"""

import json
import os
import subprocess
import sys
import tty


def main():
    path = sys.argv[1]
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)  # no echo, no line editing, bytes as sent
    reader = os.fdopen(fd, "rb", buffering=0)
    pending = b""
    os.write(fd, (json.dumps({"ready": os.getuid()}) + "\n").encode())
    while True:
        chunk = reader.read(4096)
        if not chunk:
            continue  # the host side is not connected (yet, or again)
        pending += chunk
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            try:
                request = json.loads(line)
            except ValueError:
                continue
            try:
                done = subprocess.run(["/bin/bash", "-c", request["cmd"]], stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                      timeout=request.get("timeout", 60))
                answer = {"rc": done.returncode, "out": done.stdout.decode(errors="replace")}
            except subprocess.TimeoutExpired:
                answer = {"rc": -1, "out": "timed out"}
            answer["id"] = request.get("id")
            os.write(fd, (json.dumps(answer) + "\n").encode())


if __name__ == "__main__":
    main()
