#!/usr/bin/python3
"""Test product server: serves a folder over HTTP (and HTTPS) on 127.0.0.1, with
per-path fault modes switched through a control API, plus a ProductServer harness.

Run:  product_server.py --root DIR [--cert server.pem --key server.key]
                        [--http-port N] [--https-port M] [--ignore-stdin]
When ready it prints one JSON line, {"http_port": N, "https_port": M|null, "pid": P},
then serves until killed or until its stdin reaches end of file (so a parent that
dies, closing the pipe, takes the server with it; use --ignore-stdin from a shell).

Control API (plain HTTP or HTTPS, same ports):
  POST /_control/mode   {"path": "/a/b.exe", "mode": "...", ...params}
  POST /_control/reset  clears all modes and counters
  GET  /_control/stats  {"counts", "last_request_lines", "headers", "modes"}
Modes: normal, nolength, short(extra), reset(after), drip(chunk, delay),
status(status, location), big(size), cacheable(etag). Every mode also takes
"size" (serve generated pattern bytes of that length instead of the file, so the
path needn't exist) and "headers" (extra response headers).
Paths are matched after percent-decoding, without the query string.
"""

import argparse
import atexit
import email.utils
import fcntl
import html
import json
import os
import select
import socket
import ssl
import struct
import subprocess
import sys
import termios
import threading
import time
import urllib.error
import urllib.parse
import urllib.request
from http import HTTPStatus
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from served_content import (  # noqa: E402
    ControlError, FileBody, PatternBody, State, validate_mode)

HOST = "127.0.0.1"
CONTROL_PREFIX = "/_control/"
IDLE_TIMEOUT = 60  # an idle keep-alive connection is dropped after this many seconds
HANDSHAKE_TIMEOUT = 10

def _unacked_bytes(sock):
    buf = fcntl.ioctl(sock.fileno(), termios.TIOCOUTQ, struct.pack("i", 0))
    return struct.unpack("i", buf)[0]


def _abort_connection(sock, drain_timeout=2.0):
    """Reset the connection (RST), after the peer has acknowledged what was sent.

    An abortive close throws away unsent data, so without the wait the client
    might see the reset before the partial body it is meant to receive."""
    deadline = time.monotonic() + drain_timeout
    try:
        while _unacked_bytes(sock) > 0 and time.monotonic() < deadline:
            time.sleep(0.002)
    except OSError:
        pass
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    # detach() rather than close(): rfile/wfile still reference the socket, which
    # would defer the real close, and the server's own shutdown() would send a FIN.
    os.close(sock.detach())


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "ProductTestServer/1.0"
    timeout = IDLE_TIMEOUT

    def version_string(self):
        return self.server_version

    def log_message(self, fmt, *args):
        if not self.server.quiet:
            sys.stderr.write("%s [%s] %s\n" % (self.server.scheme, self.log_date_time_string(), fmt % args))

    def handle(self):
        try:
            super().handle()
        except OSError:  # includes ssl.SSLError
            pass  # the client went away; nothing to answer

    # -------------------------------------------------------------- dispatch
    def _request_path(self):
        # Absolute-form targets ("GET http://host:port/p HTTP/1.1") arrive via proxies;
        # urlsplit takes the path out of both forms.
        return urllib.parse.unquote(urllib.parse.urlsplit(self.path).path or "/")

    def do_GET(self):
        self._dispatch()

    def do_HEAD(self):
        self._dispatch()

    def do_POST(self):
        path = self._request_path()
        if path == CONTROL_PREFIX + "mode":
            self._control_mode()
        elif path == CONTROL_PREFIX + "reset":
            self._read_body()
            self.server.state.reset()
            self._send_json(200, {"ok": True})
        else:
            self._read_body()
            self._send_page(405, extra={"Allow": "GET, HEAD"})

    def _dispatch(self):
        path = self._request_path()
        if path.startswith(CONTROL_PREFIX):
            if path == CONTROL_PREFIX + "stats":
                self._send_json(200, self.server.state.stats())
            else:
                self._send_page(404)
            return
        state = self.server.state
        state.record(path, self.requestline, self.headers)
        try:
            self._respond(path, state.mode_for(path))
        except OSError:  # includes ssl.SSLError
            self.close_connection = True  # client aborted mid-body

    # -------------------------------------------------------------- control
    def _read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def _control_mode(self):
        try:
            req = json.loads(self._read_body() or b"{}")
            path, entry = validate_mode(req)
        except (ValueError, ControlError) as e:
            self._send_json(400, {"ok": False, "error": str(e)})
            return
        self.server.state.set_mode(path, entry)
        self._send_json(200, {"ok": True, "path": path, "mode": entry})

    def _send_json(self, code, obj):
        data = json.dumps(obj, sort_keys=True).encode()
        self.send_response(code)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(data)

    # -------------------------------------------------------------- responses
    def _send_page(self, code, extra=None):
        try:
            reason = HTTPStatus(code).phrase
        except ValueError:
            reason = "Status"
        self.send_response(code, reason)
        for k, v in (extra or {}).items():
            self.send_header(k, v)
        if code < 200 or code in (204, 304):
            self.end_headers()
            return
        text = f"{code} {html.escape(reason)}"
        data = (f"<!DOCTYPE html>\n<html><head><title>{text}</title></head>"
                f"<body><h1>{text}</h1></body></html>\n").encode()
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(data)

    def _body_for(self, path, entry):
        if "size" in entry:
            return PatternBody(entry["size"])
        root = self.server.root
        candidate = os.path.realpath(os.path.join(root, path.lstrip("/")))
        if os.path.commonpath([root, candidate]) != root or not os.path.isfile(candidate):
            return None
        try:
            return FileBody(candidate)
        except OSError:
            return None

    def _not_modified(self, entry):
        inm = self.headers.get("If-None-Match")
        if inm is not None:
            tags = [t.strip() for t in inm.split(",")]
            return "*" in tags or entry["etag"] in tags or ("W/" + entry["etag"]) in tags
        ims = self.headers.get("If-Modified-Since")
        if ims:
            try:
                return email.utils.parsedate_to_datetime(ims) >= \
                    email.utils.parsedate_to_datetime(entry["last_modified"])
            except (TypeError, ValueError):
                return False
        return False

    def _respond(self, path, entry):
        mode = entry["mode"]
        extra = dict(entry.get("headers", {}))
        if mode == "status":
            if "location" in entry:
                extra["Location"] = entry["location"]
            self._send_page(entry["status"], extra)
            return
        body = self._body_for(path, entry)
        if body is None:
            self._send_page(404)
            return
        if mode == "cacheable":
            extra.update({
                "Cache-Control": "public, max-age=86400",
                "Expires": email.utils.formatdate(entry["expires_at"], usegmt=True),
                "Last-Modified": entry["last_modified"],
                "ETag": entry["etag"],
            })
            if self._not_modified(entry):
                self._send_page(304, extra)
                return

        length = body.length
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode == "nolength":
            # No length: the body ends where the connection does.
            self.send_header("Connection", "close")
        elif mode == "short":
            self.send_header("Content-Length", str(length + entry["extra"]))
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(length))
        for k, v in extra.items():
            self.send_header(k, v)
        self.end_headers()
        if self.command == "HEAD":
            return

        write = self.wfile.write
        if mode == "reset":
            after = min(entry.get("after", length // 2), length)
            for data in body.chunks(0, after):
                write(data)
            self.close_connection = True
            _abort_connection(self.connection)
        elif mode == "drip":
            delay = entry["delay"]
            for i, data in enumerate(body.chunks(0, length, entry["chunk"])):
                if i and delay:
                    time.sleep(delay)
                write(data)
        else:
            for data in body.chunks(0, length):
                write(data)


# ---------------------------------------------------------------- servers
class ProductHTTPServer(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 64  # clients may open several connections at once
    scheme = "http"

    def __init__(self, port, root, state, quiet):
        self.root = os.path.realpath(root)
        self.state = state
        self.quiet = quiet
        super().__init__((HOST, port), Handler)

    def handle_error(self, request, client_address):
        if not self.quiet:
            super().handle_error(request, client_address)


class ProductHTTPSServer(ProductHTTPServer):
    scheme = "https"

    def __init__(self, port, root, state, quiet, cert, key):
        self.ssl_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.ssl_context.load_cert_chain(cert, key)
        super().__init__(port, root, state, quiet)

    def finish_request(self, request, client_address):
        # The handshake runs here, in the connection's own thread, so a stalled or
        # refusing client (e.g. one that rejects the certificate) blocks nobody else.
        request.settimeout(HANDSHAKE_TIMEOUT)
        try:
            conn = self.ssl_context.wrap_socket(request, server_side=True)
        except OSError:  # includes ssl.SSLError
            return
        try:
            self.RequestHandlerClass(conn, client_address, self)
        finally:
            if conn.fileno() != -1:  # -1: already reset on purpose
                try:
                    # close_notify first, so a close-delimited body ends cleanly.
                    conn.settimeout(2)
                    conn.unwrap()
                except (OSError, ValueError):
                    pass
                try:
                    conn.shutdown(socket.SHUT_WR)
                except OSError:
                    pass
            conn.close()


class ProductDualServer(ProductHTTPSServer):
    """HTTP and HTTPS on one port, told apart by the first byte a client
    sends (a TLS handshake record starts with 0x16). The program builds both
    forms of its server address from one host:port, so one port must answer
    both."""

    scheme = "http+https"

    def finish_request(self, request, client_address):
        request.settimeout(HANDSHAKE_TIMEOUT)
        try:
            first = request.recv(1, socket.MSG_PEEK)
        except OSError:
            return
        if first == b"\x16":
            super().finish_request(request, client_address)
        else:
            request.settimeout(None)
            ProductHTTPServer.finish_request(self, request, client_address)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", required=True, help="folder served as /")
    ap.add_argument("--http-port", type=int, default=0, help="0 picks a free port")
    ap.add_argument("--https-port", type=int, default=0, help="0 picks a free port")
    ap.add_argument("--port", type=int,
                    help="serve HTTP and HTTPS together on this one port (needs --cert)")
    ap.add_argument("--cert", help="PEM server certificate; enables HTTPS")
    ap.add_argument("--key", help="PEM key for --cert")
    ap.add_argument("--ignore-stdin", action="store_true",
                    help="keep serving when stdin closes (for use from a shell)")
    ap.add_argument("--quiet", action="store_true", help="no request log on stderr")
    args = ap.parse_args(argv)
    if bool(args.cert) != bool(args.key):
        ap.error("--cert and --key go together")
    if not os.path.isdir(args.root):
        ap.error(f"--root {args.root} is not a folder")

    if args.port is not None and not args.cert:
        ap.error("--port serves HTTPS too: give --cert and --key")

    state = State()
    if args.port is not None:
        dual = ProductDualServer(args.port, args.root, state, args.quiet, args.cert, args.key)
        servers = [dual, dual]
    else:
        servers = [ProductHTTPServer(args.http_port, args.root, state, args.quiet)]
    if args.cert and args.port is None:
        servers.append(ProductHTTPSServer(args.https_port, args.root, state, args.quiet,
                                          args.cert, args.key))
    for srv in dict.fromkeys(servers):
        threading.Thread(target=srv.serve_forever, kwargs={"poll_interval": 0.2},
                         daemon=True).start()

    ready = {"http_port": servers[0].server_address[1],
             "https_port": servers[1].server_address[1] if len(servers) > 1 else None,
             "pid": os.getpid()}
    sys.stdout.write(json.dumps(ready) + "\n")
    sys.stdout.flush()

    stop = threading.Event()
    if not args.ignore_stdin:
        def watch_stdin():
            try:
                while sys.stdin.buffer.read(4096):
                    pass
            except (OSError, ValueError):
                pass
            stop.set()
        threading.Thread(target=watch_stdin, daemon=True).start()
    try:
        while not stop.wait(1.0):
            pass
    except KeyboardInterrupt:
        pass
    for srv in dict.fromkeys(servers):
        srv.shutdown()
        srv.server_close()
    return 0


# ---------------------------------------------------------------- harness
PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable
_NO_PROXY = urllib.request.build_opener(urllib.request.ProxyHandler({}))


class ProductServer:
    """Runs product_server.py as a child process for a test; use as a context manager.

    Exposes http_port/https_port, URL helpers and the control API. HTTPS URLs use
    the host name "localhost", which the test certificate names."""

    def __init__(self, root, cert=None, key=None, http_port=0, https_port=0,
                 log_path=None, ready_timeout=15.0, port=None):
        self.root, self.cert, self.key = root, cert, key
        self.ports = (http_port, https_port)
        self.port = port  # one port for both schemes
        self.log_path = log_path
        self.ready_timeout = ready_timeout
        self.proc = None
        self.http_port = self.https_port = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        cmd = [PYTHON, os.path.abspath(__file__), "--root", str(self.root),
               "--http-port", str(self.ports[0]), "--https-port", str(self.ports[1])]
        if self.port is not None:
            cmd += ["--port", str(self.port)]
        if self.cert:
            cmd += ["--cert", str(self.cert), "--key", str(self.key)]
        if not self.log_path:
            cmd.append("--quiet")
        self._log = open(self.log_path, "ab") if self.log_path else subprocess.DEVNULL
        self.proc = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=self._log)
        atexit.register(self.stop)
        line = b""
        deadline = time.monotonic() + self.ready_timeout
        fd = self.proc.stdout.fileno()
        while not line.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([fd], [], [], remaining)[0]:
                self.stop()
                raise RuntimeError("product server did not report ready in time")
            chunk = os.read(fd, 4096)
            if not chunk:
                code = self.proc.wait(5)
                self.stop()
                raise RuntimeError(f"product server exited before ready (status {code})")
            line += chunk
        info = json.loads(line)
        self.http_port, self.https_port = info["http_port"], info["https_port"]
        return self

    def stop(self):
        proc, self.proc = self.proc, None
        if proc is None:
            return
        try:
            proc.stdin.close()  # the server exits on end of stdin
            proc.wait(5)
        except (OSError, subprocess.TimeoutExpired):
            proc.kill()
            proc.wait(5)
        proc.stdout.close()
        if self._log is not subprocess.DEVNULL:
            self._log.close()

    def http_url(self, path):
        return f"http://{HOST}:{self.http_port}{path}"

    def https_url(self, path):
        return f"https://localhost:{self.https_port}{path}"

    def _control(self, path, payload=None):
        data = None if payload is None else json.dumps(payload).encode()
        req = urllib.request.Request(self.http_url(CONTROL_PREFIX + path), data=data,
                                     headers={"Content-Type": "application/json"})
        try:
            with _NO_PROXY.open(req, timeout=10) as resp:
                return json.load(resp)
        except urllib.error.HTTPError as e:
            # Surface the server's reason (e.g. an unknown mode) rather than a bare 400.
            raise ValueError(f"control {path}: {e.code} {e.read().decode(errors='replace')}") from None

    def set_mode(self, path, mode, **params):
        return self._control("mode", dict(params, path=path, mode=mode))

    def reset(self):
        return self._control("reset", {})

    def stats(self):
        return self._control("stats")


if __name__ == "__main__":
    sys.exit(main())
