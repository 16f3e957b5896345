#!/usr/bin/python3
"""FTP server on the loopback for the tests and benchmarks (pyftpdlib).

Prints "PORT <n>" once it listens on a port of the system's choosing; logs every command
and reply to standard error ("<- CWD pub", passwords masked). A bare CWD gets 501, as on
common servers. Options: --home DIR, --user, --password, --folder REL (made in the home;
repeatable), --read-only, --anonymous (also "anonymous", same rights), --hang-up-after-cwd, --host
(127.0.0.1 or ::1), --silent (accept connections and never answer).
"""

import argparse
import logging
import os
import signal
import socket
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    for option, default in (("--home", None), ("--user", "somnar"), ("--password", "secret"),
                            ("--host", "127.0.0.1")):
        parser.add_argument(option, default=default)
    parser.add_argument("--folder", action="append", default=[])
    for flag in ("--read-only", "--anonymous", "--hang-up-after-cwd", "--silent"):
        parser.add_argument(flag, action="store_true")
    args = parser.parse_args()

    if args.silent:  # the connections wait in the backlog, never answered
        listener = socket.create_server((args.host, 0), family=socket.AF_INET6
                                        if ":" in args.host else socket.AF_INET)
        print("PORT %d" % listener.getsockname()[1], flush=True)
        signal.pause()

    for folder in args.folder:
        os.makedirs(os.path.join(args.home, folder), exist_ok=True)
    rights = "elr" if args.read_only else "elradfmwMT"
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm=rights)
    if args.anonymous:
        authorizer.add_anonymous(args.home, perm=rights)

    class Handler(FTPHandler):
        # pyftpdlib itself would go to "/" on a bare CWD.
        proto_cmds = dict(FTPHandler.proto_cmds,
                          CWD=dict(FTPHandler.proto_cmds["CWD"], arg=True))
        auth_failed_timeout = 0.1  # not pyftpdlib's 3 s pause after a wrong password

        def ftp_CWD(self, path):
            result = super().ftp_CWD(path)
            if args.hang_up_after_cwd:
                self.close_when_done()
            return result

    Handler.authorizer = authorizer
    logging.basicConfig(stream=sys.stderr, level=logging.DEBUG, format="%(message)s")
    server = FTPServer((args.host, 0), Handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
