#!/usr/bin/python3
"""FTP server on the loopback for the upload tests (pyftpdlib).

Listens on --host at a port of the system's choosing and prints "PORT <n>" once it
accepts connections. Every command it receives and every reply it sends goes to standard
error as pyftpdlib's debug log ("<- CWD pub", "-> 250 ..."), passwords masked. A CWD
without a folder is answered 501, as common servers do.

  --home DIR           the user's home folder, the root the user sees
  --user NAME          user name (default "somnar")
  --password TEXT      password (default "secret")
  --folder REL         a folder made inside the home first (repeatable)
  --read-only          the user may list and change folders but not store
  --anonymous          also let "anonymous" in, with the same rights as the user
  --stall-uploads      read uploads at well below one byte a second
  --hang-up-after-cwd  close the control connection right after answering a CWD
  --host ADDRESS       127.0.0.1 (default) or ::1
  --silent             no FTP at all: accept connections and never answer
"""

import argparse
import logging
import os
import socket
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

FULL_RIGHTS = "elradfmwMT"
READ_RIGHTS = "elr"


def report_port(port):
    print("PORT %d" % port, flush=True)


def run_silent(host):
    family = socket.AF_INET6 if ":" in host else socket.AF_INET
    listener = socket.socket(family, socket.SOCK_STREAM)
    listener.bind((host, 0))
    listener.listen(8)
    report_port(listener.getsockname()[1])
    held = []  # open, never written to
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--home")
    parser.add_argument("--user", default="somnar")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--folder", action="append", default=[])
    parser.add_argument("--read-only", action="store_true")
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--stall-uploads", action="store_true")
    parser.add_argument("--hang-up-after-cwd", action="store_true")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--silent", action="store_true")
    args = parser.parse_args()

    if args.silent:
        run_silent(args.host)
        return

    for folder in args.folder:
        os.makedirs(os.path.join(args.home, folder), exist_ok=True)

    rights = READ_RIGHTS if args.read_only else FULL_RIGHTS
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm=rights)
    if args.anonymous:
        authorizer.add_anonymous(args.home, perm=rights)

    class Handler(FTPHandler):
        # A CWD without a folder is a syntax error (501), as on common servers; pyftpdlib
        # itself would go to "/".
        proto_cmds = dict(FTPHandler.proto_cmds,
                          CWD=dict(FTPHandler.proto_cmds["CWD"], arg=True))

        def ftp_CWD(self, path):
            result = super().ftp_CWD(path)
            if args.hang_up_after_cwd:
                self.close_when_done()
            return result

    Handler.authorizer = authorizer
    Handler.auth_failed_timeout = 0.1  # not pyftpdlib's 3 s pause after a wrong password
    if args.stall_uploads:
        class Stalling(ThrottledDTPHandler):
            read_limit = 1

        Handler.dtp_handler = Stalling

    logging.basicConfig(stream=sys.stderr, level=logging.DEBUG,
                        format="%(message)s")
    server = FTPServer((args.host, 0), Handler)
    report_port(server.socket.getsockname()[1])
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
