#!/usr/bin/python3
"""FTP server on the loopback for the tests and benchmarks (pyftpdlib). Prints "PORT <n>"
once it listens on a port of the system's choosing; writes every command received to --log
or standard error ("CWD pub", passwords masked). A bare CWD gets 501, as on common servers.
--silent: accepts connections and never answers."""

import argparse
import os
import signal
import socket
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

PARSER = argparse.ArgumentParser()
for option, default in (("--home", None), ("--user", "somnar"), ("--password", "secret"),
                        ("--host", "127.0.0.1"), ("--log", None)):
    PARSER.add_argument(option, default=default)
PARSER.add_argument("--folder", action="append", default=[])
for flag in ("--read-only", "--anonymous", "--hang-up-after-cwd", "--silent"):
    PARSER.add_argument(flag, action="store_true")
ARGS = PARSER.parse_args()
LOG = open(ARGS.log, "a", encoding="utf-8") if ARGS.log else sys.stderr

if ARGS.silent:  # the connections wait in the backlog
    LISTENER = socket.create_server((ARGS.host, 0))
    print("PORT %d" % LISTENER.getsockname()[1], flush=True)
    signal.pause()

for folder in ARGS.folder:
    os.makedirs(os.path.join(ARGS.home, folder), exist_ok=True)
RIGHTS = "elr" if ARGS.read_only else "elradfmwMT"
AUTHORIZER = DummyAuthorizer()
AUTHORIZER.add_user(ARGS.user, ARGS.password, ARGS.home, perm=RIGHTS)
if ARGS.anonymous:
    AUTHORIZER.add_anonymous(ARGS.home, perm=RIGHTS)


class Handler(FTPHandler):
    authorizer = AUTHORIZER
    # pyftpdlib itself would go to "/" on a bare CWD.
    proto_cmds = dict(FTPHandler.proto_cmds, CWD=dict(FTPHandler.proto_cmds["CWD"], arg=True))
    auth_failed_timeout = 0.1  # not pyftpdlib's 3 s pause after a wrong password

    def logline(self, msg, logfun=None):
        if msg.startswith("<- "):
            print(msg[3:], file=LOG, flush=True)

    def ftp_CWD(self, path):
        result = super().ftp_CWD(path)
        if ARGS.hang_up_after_cwd:
            self.close_when_done()
        return result


SERVER = FTPServer((ARGS.host, 0), Handler)
print("PORT %d" % SERVER.socket.getsockname()[1], flush=True)
SERVER.serve_forever(handle_exit=False)
