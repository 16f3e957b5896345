#!/usr/bin/python3
"""A real FTP daemon (unpacked by scripts/setup) on 127.0.0.1 with TLS off, optional or
required. Prints "CA <certificate>", "RELAY <port>" with --relay (a proxy of the control
connection that writes what the client sends to the log) and last "PORT <n>". The daemon dies
with this script. vsftpd knows no virtual user without PAM: it takes "anonymous" (any
password, not checked) with the rights to upload, rename and delete, in the --folder ones
only: it refuses a landing folder that the session can write to."""

import argparse, os, socket, subprocess, sys, threading, time, warnings

with warnings.catch_warnings():  # the module goes with Python 3.13; Debian 12 has 3.11
    warnings.simplefilter("ignore")
    import crypt

BASE = "/opt/somnar-peers"
P = argparse.ArgumentParser()
P.add_argument("--kind", choices=("vsftpd", "proftpd", "pure-ftpd"), required=True)
P.add_argument("--tls", choices=("off", "optional", "required"), default="required")
for option in ("--home", "--work"):
    P.add_argument(option, required=True)
for option, default in (("--user", "somnar"), ("--password", "secret"), ("--cert", None),
                        ("--key", None), ("--relay", None)):
    P.add_argument(option, default=default)
P.add_argument("--folder", action="append", default=[])
A = P.parse_args()
W = lambda name: os.path.join(A.work, name)


def free_port():
    with socket.create_server(("127.0.0.1", 0)) as s:
        return s.getsockname()[1]


os.makedirs(A.work, exist_ok=True)
for folder in [""] + A.folder:  # the daemons write as nobody
    os.makedirs(os.path.join(A.home, folder), exist_ok=True)
    os.chmod(os.path.join(A.home, folder), 0o755 if A.kind == "vsftpd" and not folder else 0o777)
if not A.cert:
    A.cert, A.key = W("cert.pem"), W("key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=127.0.0.1", "-addext",
                    "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", A.key, "-out",
                    A.cert], check=True, capture_output=True)
port, low = free_port(), free_port()
high = min(low + 20, 65535)
on, must = A.tls != "off", A.tls == "required"
if A.kind == "vsftpd":
    yes = lambda b: "YES" if b else "NO"
    os.makedirs(W("empty"), exist_ok=True)
    conf = f"""listen=YES\nlisten_address=127.0.0.1\nlisten_port={port}\nbackground=NO
anonymous_enable=YES\nlocal_enable=NO\nno_anon_password=YES\nanon_root={A.home}
ftp_username=daemon\nwrite_enable=YES\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES
anon_other_write_enable=YES\nanon_umask=022\nallow_writeable_chroot=YES
secure_chroot_dir={W("empty")}\nseccomp_sandbox=NO\npasv_min_port={low}\npasv_max_port={high}
vsftpd_log_file={W("vsftpd.log")}\nssl_enable={yes(on)}\nallow_anon_ssl={yes(on)}
force_anon_logins_ssl={yes(must)}\nforce_anon_data_ssl={yes(must)}\nrequire_ssl_reuse=NO
ssl_ciphers=HIGH\nrsa_cert_file={A.cert}\nrsa_private_key_file={A.key}\n"""
    argv = [BASE + "/usr/sbin/vsftpd", W("vsftpd.conf")]
elif A.kind == "proftpd":
    hashed = crypt.crypt(A.password, crypt.mksalt(crypt.METHOD_SHA512))
    open(W("passwd"), "w").write(f"{A.user}:{hashed}:65534:65534::{A.home}:/bin/sh\n")
    open(W("group"), "w").write("nogroup:x:65534:\n")
    os.chmod(W("passwd"), 0o600)
    os.chmod(W("group"), 0o600)
    tls = "" if not on else f"""LoadModule mod_tls.c\nTLSEngine on\nTLSRequired {"on" if must else "off"}
TLSRSACertificateFile {A.cert}\nTLSRSACertificateKeyFile {A.key}\nTLSLog {W("tls.log")}
TLSProtocol TLSv1.2 TLSv1.3\nTLSOptions NoSessionReuseRequired\n"""
    conf = f"""ServerType standalone\nDefaultAddress 127.0.0.1\nPort {port}\nUseIPv6 off
ModulePath {BASE}/usr/lib/proftpd\n{tls}User nobody\nGroup nogroup
PidFile {W("proftpd.pid")}\nScoreboardFile {W("scoreboard")}\nDelayTable none\nWtmpLog off
SystemLog {W("proftpd.log")}\nAuthOrder mod_auth_file.c\nAuthUserFile {W("passwd")}
AuthGroupFile {W("group")}\nRequireValidShell off\nDefaultRoot ~\nAllowOverwrite on
PassivePorts {low} {high}\nUmask 022\n"""
    argv = [BASE + "/usr/sbin/proftpd", "-n", "-q", "-c", W("proftpd.conf")]
else:
    for name in ("pureftpd.passwd", "pureftpd.pdb"):
        if os.path.exists(W(name)):
            os.remove(W(name))
    subprocess.run([BASE + "/usr/bin/pure-pw", "useradd", A.user, "-u", "65534", "-g", "65534",
                    "-d", A.home, "-f", W("pureftpd.passwd"), "-m", "-F", W("pureftpd.pdb")],
                   input=f"{A.password}\n{A.password}\n", text=True, check=True,
                   capture_output=True)
    conf = None
    argv = [BASE + "/usr/sbin/pure-ftpd", f"-S127.0.0.1,{port}", "-lpuredb:" + W("pureftpd.pdb"),
            "-E", "-A", f"-p{low}:{high}", "-Y" + {"off": "0", "optional": "1", "required": "2"}[A.tls],
            f"-2{A.cert},{A.key}"]
if conf:
    open(W(A.kind + ".conf"), "w").write(conf)
# A watcher that stays root keeps the death signal (a daemon changing its user loses it) and
# takes the daemon's process group, session processes included, with it.
WATCH = """import ctypes, os, signal, subprocess, sys
ctypes.CDLL(None).prctl(1, 15)  # PR_SET_PDEATHSIG
os.getppid() == int(sys.argv[1]) or sys.exit(1)
d = subprocess.Popen(sys.argv[2:], start_new_session=True)
signal.signal(15, lambda *_: (os.killpg(d.pid, 9), os._exit(1)))
sys.exit(d.wait())"""
daemon = subprocess.Popen([sys.executable, "-c", WATCH, str(os.getpid())] + argv,
                          stdin=subprocess.DEVNULL, stdout=open(W("daemon.out"), "w"),
                          stderr=subprocess.STDOUT)
print("CA " + A.cert, flush=True)


def pipe(source, sink, log=None):
    while data := source.recv(65536):
        if log:
            log.write(data)
            log.flush()
        sink.sendall(data)
    sink.shutdown(socket.SHUT_WR)


def relay(listener, log):
    while True:
        client = listener.accept()[0]
        server = socket.create_connection(("127.0.0.1", port))
        threading.Thread(target=pipe, args=(client, server, log), daemon=True).start()
        threading.Thread(target=pipe, args=(server, client), daemon=True).start()


for _ in range(200):
    try:
        socket.create_connection(("127.0.0.1", port)).close()
        break
    except OSError:
        if daemon.poll() is not None:
            sys.exit(A.kind + " ended: " + open(W("daemon.out")).read())
        time.sleep(0.05)
if A.relay:
    listener = socket.create_server(("127.0.0.1", 0))
    threading.Thread(target=relay, args=(listener, open(A.relay, "ab")), daemon=True).start()
    print("RELAY %d" % listener.getsockname()[1], flush=True)
print("PORT %d" % port, flush=True)
sys.exit(daemon.wait())
