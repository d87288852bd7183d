#!/usr/bin/env python3
"""A stand-in for the ranking service, for the tests and for trying the tool.

It serves HTTPS on 127.0.0.1 only, with certificates made by the openssl
command (a local CA and a server certificate for localhost and 127.0.0.1), and
answers

    GET /hero/select.php?hero=<escaped name>&type=<aqq|awx|iqq|iwx>

with a one-line UTF-8 JSON reply whose values are made up but always the same
for one hero on one platform.

Listeners, each on its own port (0 picks a free one):
  https       the service itself
  http        the same, in the clear
  untrusted   TLS with a certificate from another CA
  wrongname   TLS with a certificate of the right CA for another name

Fault modes, chosen by a query key the tool never sends ("&fault=drop:40"),
or queued with the control command "next MODE" for the next request that has
no such key. MODE is NAME or NAME:N:
  normal         the reply as usual
  pretty         the JSON pretty-printed, a blank after every colon
  reordered      the members of the data object in another order
  escape         the district name written as JSON \\u escapes
  badutf8        the reply in GB18030, which is not valid UTF-8
  status:N       status N (404, 500, ...) with an HTML body
  length:N       N bytes of filler announced with Content-Length N
  nolength:N     N bytes of filler without Content-Length, ended by closing
  drop:N         the reply announced whole, cut after N body bytes
  stall:N        the reply announced whole, N body bytes, then silence for
                 20 s before the rest
  setcookie      the reply with a cookie for the path /cookie/, where the
                 reply is a 404 page
  redirect:https a redirect to the same request on the https listener
  redirect:http  a redirect to the same request on the http listener
  redirect:relative  a redirect by a relative Location
  hops:N         N redirects in a row before the reply
  body:HEX       exactly the bytes HEX as the body, with Content-Length
  trickle:N      the reply announced whole, N body bytes at once, then one
                 byte a second for the rest
  garbage:N      N bytes that are no HTTP at all instead of a reply, then
                 the end of the connection
  big:N          the reply with a member of N filler bytes before "data"
  refusetls      (with "next" only) the next connection on a TLS listener
                 is answered with a fatal handshake alert and closed
Filler is the offset of every tenth byte, "000000000\\n000000010\\n...".

On start it prints one line to stdout:
  ready https=P http=P untrusted=P wrongname=P ca=PATH
With --control it then reads commands from stdin, one a line, and answers
each on stdout:
  next MODE   -> ok
  requests    -> "requests N", then N lines "LISTENER HEX" (each request
                 line and header block exactly as received)
  counts      -> counts https=N http=N untrusted=N wrongname=N handshakes=N resumed=N
                 (connections accepted per listener, TLS handshakes completed,
                 of which resumed a session)
  reset       -> ok (forgets requests, counts and queued modes)
  quit
and exits when stdin ends, so it never outlives the process that started it.
It also exits after --max-seconds, and when the process --watch-pid ends.
"""

import argparse
import datetime
import hashlib
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

REGIONS = [
    ("浙江省", "杭州市", "西湖区"),
    ("广东省", "深圳市", "南山区"),
    ("四川省", "成都市", "武侯区"),
    ("江苏省", "南京市", "鼓楼区"),
    ("湖北省", "武汉市", "洪山区"),
    ("山东省", "青岛市", "市南区"),
    ("陕西省", "西安市", "雁塔区"),
    ("北京市", "北京市", "海淀区"),
]
PLATFORMS = ("aqq", "awx", "iqq", "iwx")
CERT_DAYS = 365
STALL_SECONDS = 20
SOCKET_TIMEOUT = 10
MAX_HEAD = 65536
CHINA_TIME = datetime.timezone(datetime.timedelta(hours=8))

CERT_CONFIG = """[req]
distinguished_name = dn
prompt = no
[dn]
CN = unused
[ca]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
"""

SERVER_EXTENSIONS = """basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = {names}
"""


# --- certificates -----------------------------------------------------------

def openssl(*args):
    result = subprocess.run(["openssl", *args], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise RuntimeError("openssl %s failed: %s" % (args[0], result.stderr.strip()))


def make_key(path):
    openssl("genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256",
            "-out", path)


def make_ca(directory, name, common_name):
    config = os.path.join(directory, "openssl.cnf")
    key = os.path.join(directory, name + ".key")
    make_key(key)
    openssl("req", "-config", config, "-x509", "-new", "-key", key, "-sha256",
            "-days", str(CERT_DAYS), "-subj", "/CN=" + common_name,
            "-extensions", "ca", "-out", os.path.join(directory, name + ".pem"))


def make_server_cert(directory, name, ca, names):
    config = os.path.join(directory, "openssl.cnf")
    key = os.path.join(directory, name + ".key")
    csr = os.path.join(directory, name + ".csr")
    extensions = os.path.join(directory, name + ".ext")
    with open(extensions, "w") as f:
        f.write(SERVER_EXTENSIONS.format(names=names))
    make_key(key)
    openssl("req", "-config", config, "-new", "-key", key, "-subj", "/CN=localhost",
            "-out", csr)
    openssl("x509", "-req", "-in", csr, "-CA", os.path.join(directory, ca + ".pem"),
            "-CAkey", os.path.join(directory, ca + ".key"),
            "-set_serial", str(int.from_bytes(os.urandom(8), "big")), "-sha256",
            "-days", str(CERT_DAYS), "-extfile", extensions,
            "-out", os.path.join(directory, name + ".pem"))
    os.remove(csr)
    os.remove(extensions)


CERT_FILES = ("ca.pem", "server.pem", "server.key", "untrusted.pem", "untrusted.key",
              "wrongname.pem", "wrongname.key")


def certs_usable(directory):
    """Whether every file is there and no certificate ends within a day."""
    for name in CERT_FILES:
        if not os.path.isfile(os.path.join(directory, name)):
            return False
    for name in ("ca.pem", "server.pem", "untrusted.pem", "wrongname.pem"):
        result = subprocess.run(["openssl", "x509", "-checkend", "86400", "-noout", "-in",
                                 os.path.join(directory, name)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if result.returncode != 0:
            return False
    return True


def make_certs(directory):
    """Makes the CAs and server certificates in `directory`, unless usable ones are there."""
    os.makedirs(directory, exist_ok=True)
    if certs_usable(directory):
        return
    with open(os.path.join(directory, "openssl.cnf"), "w") as f:
        f.write(CERT_CONFIG)
    make_ca(directory, "ca", "Zembrolt stand-in CA")
    make_ca(directory, "other-ca", "Zembrolt stand-in other CA")
    # The address once more as a DNS name, for clients that match only those
    # (Wine's certificate check among them).
    names = "DNS:localhost,IP:127.0.0.1,DNS:127.0.0.1"
    make_server_cert(directory, "server", "ca", names)
    make_server_cert(directory, "untrusted", "other-ca", names)
    make_server_cert(directory, "wrongname", "ca", "DNS:wrong-name.invalid")


# --- replies ----------------------------------------------------------------

def reply_data(hero, platform):
    """The data object for one hero on one platform, members in the service's order."""
    digest = hashlib.sha256(("%s\n%s" % (hero, platform)).encode("utf-8")).digest()
    province, city, area = REGIONS[digest[0] % len(REGIONS)]
    n = int.from_bytes(digest[1:9], "big")
    area_power = 2000 + n % 1500
    city_power = area_power + 800 + (n >> 12) % 900
    province_power = city_power + 1000 + (n >> 24) % 1200
    guobiao = province_power + 1500 + (n >> 36) % 2000
    minutes = int.from_bytes(digest[9:12], "big") % (60 * 24 * 30)
    updated = (datetime.datetime(2026, 11, 1, tzinfo=CHINA_TIME)
               + datetime.timedelta(minutes=minutes))
    return {
        "uid": int.from_bytes(digest[12:16], "big"),
        "name": hero,
        "platform": platform,
        "area": area,
        "areaPower": str(area_power),
        "city": city,
        "cityPower": str(city_power),
        "province": province,
        "provincePower": str(province_power),
        "guobiao": str(guobiao),
        "stamp": int(updated.timestamp()),
        "updatetime": updated.strftime("%Y-%m-%d %H:%M:%S"),
    }


def compact(value, ascii_only=False):
    return json.dumps(value, ensure_ascii=ascii_only, separators=(",", ":"))


def json_reply(hero, platform, style):
    if platform not in PLATFORMS:
        return compact({"code": 1, "data": None, "msg": "unknown type"}).encode("utf-8")
    data = reply_data(hero, platform)
    if style == "reordered":
        order = ("uid", "name", "platform", "province", "provincePower", "city", "cityPower",
                 "area", "areaPower", "updatetime", "guobiao", "stamp")
        data = {key: data[key] for key in order}
    whole = {"code": 0, "data": data, "msg": "ok"}
    if style == "pretty":
        return json.dumps(whole, ensure_ascii=False, indent=4).encode("utf-8")
    text = compact(whole)
    if style == "escape":
        text = text.replace('"area":' + compact(data["area"]),
                            '"area":' + compact(data["area"], ascii_only=True), 1)
    if style == "badutf8":
        return text.encode("gb18030")
    return text.encode("utf-8")


def filler(size):
    records = b"".join(b"%09d\n" % offset for offset in range(0, size + 10, 10))
    return records[:size]


def html_page(status):
    reason = {404: "Not Found", 500: "Internal Server Error"}.get(status, "Error")
    return ("<html><head><title>%d %s</title></head><body><h1>%s</h1></body></html>\n"
            % (status, reason, reason)).encode("ascii")


def garbage(size):
    """Bytes that are not HTTP, the same on every run: a SHA-256 chain."""
    out = b""
    block = b"zembrolt"
    while len(out) < size:
        block = hashlib.sha256(block).digest()
        out += block
    return out[:size]


def head(status, headers):
    reason = {200: "OK", 302: "Found", 404: "Not Found",
              500: "Internal Server Error"}.get(status, "Status")
    lines = ["HTTP/1.0 %d %s" % (status, reason)] + headers + ["Connection: close", "", ""]
    return "\r\n".join(lines).encode("ascii")


# --- the server -------------------------------------------------------------

class Standin:
    def __init__(self, cert_dir, ports):
        self.lock = threading.Lock()
        self.requests = []
        self.connections = {name: 0 for name in ports}
        self.handshakes = 0
        self.resumed = 0
        self.pending = []
        self.pending_connection = []
        self.contexts = {
            "https": self.context(cert_dir, "server"),
            "http": None,
            "untrusted": self.context(cert_dir, "untrusted"),
            "wrongname": self.context(cert_dir, "wrongname"),
        }
        self.listeners = {}
        for name, port in ports.items():
            sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            sock.bind(("127.0.0.1", port))
            sock.listen(64)
            self.listeners[name] = sock
        self.ports = {name: sock.getsockname()[1] for name, sock in self.listeners.items()}

    @staticmethod
    def context(cert_dir, name):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(cert_dir, name + ".pem"),
                                os.path.join(cert_dir, name + ".key"))
        return context

    def start(self):
        for name, sock in self.listeners.items():
            threading.Thread(target=self.accept_loop, args=(name, sock), daemon=True).start()

    def accept_loop(self, name, sock):
        while True:
            conn, _ = sock.accept()
            with self.lock:
                self.connections[name] += 1
            threading.Thread(target=self.handle, args=(name, conn), daemon=True).start()

    def handle(self, name, conn):
        conn.settimeout(SOCKET_TIMEOUT)
        # Without it the session tickets sent after the handshake hold the
        # reply back until the client's delayed acknowledgement, some 40 ms.
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            context = self.contexts[name]
            with self.lock:
                refuse = context is not None and bool(self.pending_connection)
                if refuse:
                    self.pending_connection.pop(0)
            if refuse:
                # A TLS alert record: fatal (2), handshake_failure (40).
                conn.sendall(b"\x15\x03\x01\x00\x02\x02\x28")
                return
            if context is not None:
                conn = context.wrap_socket(conn, server_side=True)
                with self.lock:
                    self.handshakes += 1
                    self.resumed += 1 if conn.session_reused else 0
            raw = read_head(conn)
            if raw is None:
                return
            target = raw.split(b"\r\n", 1)[0].split(b" ")
            target = target[1].decode("latin-1") if len(target) > 1 else "/"
            url = urllib.parse.urlsplit(target)
            query = urllib.parse.parse_qs(url.query, keep_blank_values=True,
                                          encoding="utf-8", errors="replace")
            with self.lock:
                self.requests.append((name, raw))
                mode = query.get("fault", [None])[0]
                if mode is None:
                    mode = self.pending.pop(0) if self.pending else "normal"
            self.respond(conn, url, query, mode)
        except (OSError, ssl.SSLError, ValueError):
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def respond(self, conn, url, query, mode):
        name, _, arg = mode.partition(":")
        number = int(arg) if arg.isdigit() else 0
        hero = query.get("hero", [""])[0]
        platform = query.get("type", [""])[0]
        extra = []
        if name == "setcookie":
            # Set from under /cookie/ and only sent back there, so it reaches no
            # request of the service itself.
            extra.append("Set-Cookie: standin_session=%s; Path=/cookie/"
                         % hashlib.sha256(url.path.encode("utf-8")).hexdigest()[:16])
        if url.path != "/hero/select.php" and name != "status":
            name, number = "status", 404

        if name in ("redirect", "hops") and not (name == "hops" and number == 0):
            kept = [(k, v) for k, values in query.items() if k != "fault" for v in values]
            if name == "hops":
                kept.append(("fault", "hops:%d" % (number - 1)))
            path_query = "/hero/select.php?" + urllib.parse.urlencode(kept)
            scheme = "https" if isinstance(conn, ssl.SSLSocket) else "http"
            if arg == "https":
                scheme = "https"
            elif arg == "http":
                scheme = "http"
            if arg == "relative":
                location = path_query[len("/hero/"):]
            else:
                location = "%s://127.0.0.1:%d%s" % (scheme, self.ports[scheme], path_query)
            conn.sendall(head(302, ["Location: " + location, "Content-Length: 0"]))
            return finish(conn)

        if name == "status":
            body = html_page(number)
            conn.sendall(head(number, ["Content-Type: text/html",
                                       "Content-Length: %d" % len(body)] + extra) + body)
            return finish(conn)
        if name == "length":
            body = filler(number)
            conn.sendall(head(200, ["Content-Type: text/plain",
                                    "Content-Length: %d" % len(body)]) + body)
            return finish(conn)
        if name == "nolength":
            conn.sendall(head(200, ["Content-Type: text/plain"]) + filler(number or 30000))
            return finish(conn)

        if name == "garbage":
            conn.sendall(garbage(number))
            return finish(conn)

        if name == "body":
            body = bytes.fromhex(arg)
            conn.sendall(head(200, ["Content-Type: application/json; charset=utf-8",
                                    "Content-Length: %d" % len(body)]) + body)
            return finish(conn)

        body = json_reply(hero, platform, name)
        if name == "big":
            body = body.replace(b'"code":0,', b'"code":0,"pad":"' + b"x" * number + b'",', 1)
        headers = ["Content-Type: application/json; charset=utf-8",
                   "Content-Length: %d" % len(body)] + extra
        if name == "drop":
            conn.sendall(head(200, headers) + body[:number])
            # No TLS close alert, no more bytes: the connection just ends.
            conn.shutdown(socket.SHUT_RDWR)
            return
        if name == "trickle":
            conn.sendall(head(200, headers) + body[:number])
            for i in range(number, len(body)):
                time.sleep(1)
                conn.sendall(body[i:i + 1])
            return finish(conn)
        if name == "stall":
            conn.sendall(head(200, headers) + body[:number])
            # A client that waits this out gets the whole reply, which tells
            # it apart from one that gave up in time.
            if stall(conn):
                conn.sendall(body[number:])
                finish(conn)
            return
        conn.sendall(head(200, headers) + body)
        return finish(conn)


def read_head(conn):
    """The request line and headers as received, up to the blank line; None if cut short."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(4096)
        if not chunk or len(data) > MAX_HEAD:
            return None
        data += chunk
    return data[:data.index(b"\r\n\r\n") + 4]


def finish(conn):
    """Ends the reply cleanly: the TLS close alert, then the end of the connection."""
    try:
        if isinstance(conn, ssl.SSLSocket):
            conn.settimeout(1)
            conn = conn.unwrap()
        conn.shutdown(socket.SHUT_WR)
    except (OSError, ssl.SSLError):
        pass


def stall(conn):
    """Sends nothing for STALL_SECONDS; False when the client gave up before."""
    conn.settimeout(0.2)
    deadline = time.monotonic() + STALL_SECONDS
    while time.monotonic() < deadline:
        try:
            if not conn.recv(4096):
                return False
        except (socket.timeout, ssl.SSLWantReadError):
            continue
        except (OSError, ssl.SSLError):
            return False
    conn.settimeout(SOCKET_TIMEOUT)
    return True


# --- control ----------------------------------------------------------------

def control_loop(standin, stdout):
    # A parent may hand over a non-blocking descriptor, as Wine does with the
    # socket a Windows test gives as stdin and stdout.
    for stream in (sys.stdin, stdout):
        os.set_blocking(stream.fileno(), True)
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        command = words[0]
        with standin.lock:
            if command == "next" and len(words) == 2 and words[1] == "refusetls":
                standin.pending_connection.append(words[1])
                answer = ["ok"]
            elif command == "next" and len(words) == 2:
                standin.pending.append(words[1])
                answer = ["ok"]
            elif command == "requests":
                answer = ["requests %d" % len(standin.requests)]
                answer += ["%s %s" % (name, raw.hex()) for name, raw in standin.requests]
            elif command == "counts":
                counts = " ".join("%s=%d" % item for item in standin.connections.items())
                answer = ["counts %s handshakes=%d resumed=%d"
                          % (counts, standin.handshakes, standin.resumed)]
            elif command == "reset":
                standin.requests.clear()
                standin.pending.clear()
                standin.pending_connection.clear()
                standin.connections = {name: 0 for name in standin.connections}
                standin.handshakes = standin.resumed = 0
                answer = ["ok"]
            elif command == "quit":
                return
            else:
                answer = ["error unknown command"]
        stdout.write("\n".join(answer) + "\n")
        stdout.flush()


def exit_after(seconds, cleanup, code):
    time.sleep(seconds)
    cleanup()
    os._exit(code)


def watch(pid, cleanup):
    while True:
        time.sleep(0.5)
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            cleanup()
            os._exit(0)
        except PermissionError:
            pass


def main():
    parser = argparse.ArgumentParser(description="Stand-in ranking service (loopback only).")
    parser.add_argument("--port", type=int, default=0, help="https port; 0 picks a free one")
    parser.add_argument("--http-port", type=int, default=0)
    parser.add_argument("--untrusted-port", type=int, default=0)
    parser.add_argument("--wrongname-port", type=int, default=0)
    parser.add_argument("--cert-dir", help="where the certificates are kept (made when missing "
                        "or about to expire); default: a fresh directory removed on exit")
    parser.add_argument("--make-certs", metavar="DIR",
                        help="only make the certificates in DIR, then exit")
    parser.add_argument("--control", action="store_true",
                        help="take commands on stdin and exit when it ends")
    parser.add_argument("--max-seconds", type=float, default=0,
                        help="exit after this long; 0: no limit")
    parser.add_argument("--watch-pid", type=int, default=0,
                        help="exit when this process has ended")
    args = parser.parse_args()

    if args.make_certs:
        make_certs(args.make_certs)
        return 0

    temporary = args.cert_dir is None
    cert_dir = tempfile.mkdtemp(prefix="zembrolt-standin-") if temporary else args.cert_dir
    cleaned = threading.Lock()

    def cleanup():
        if temporary and cleaned.acquire(blocking=False):
            shutil.rmtree(cert_dir, ignore_errors=True)

    try:
        make_certs(cert_dir)
        standin = Standin(cert_dir, {"https": args.port, "http": args.http_port,
                                     "untrusted": args.untrusted_port,
                                     "wrongname": args.wrongname_port})
    except (OSError, RuntimeError) as error:
        cleanup()
        print("error %s" % error, flush=True)
        return 1
    standin.start()
    if args.max_seconds > 0:
        threading.Thread(target=exit_after, args=(args.max_seconds, cleanup, 2),
                         daemon=True).start()
    if args.watch_pid > 0:
        threading.Thread(target=watch, args=(args.watch_pid, cleanup), daemon=True).start()

    ports = " ".join("%s=%d" % item for item in standin.ports.items())
    print("ready %s ca=%s" % (ports, os.path.abspath(os.path.join(cert_dir, "ca.pem"))),
          flush=True)
    if not args.control:
        print("stand-in ranking service at https://localhost:%d/hero/select.php "
              "(Ctrl-C stops it)" % standin.ports["https"], file=sys.stderr, flush=True)
    try:
        if args.control:
            control_loop(standin, sys.stdout)
        else:
            threading.Event().wait()
    except KeyboardInterrupt:
        pass
    cleanup()
    os._exit(0)


if __name__ == "__main__":
    sys.exit(main())
