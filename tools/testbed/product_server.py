#!/usr/bin/python3
"""Test product server: serves a folder over HTTP (and HTTPS) on 127.0.0.1, with
per-path fault modes switched through a control API. The ProductServer harness
(product_server_harness.py, importable from here) runs it for tests.

Run:  product_server.py --root DIR [--cert server.pem --key server.key]
                        [--http-port N] [--https-port M] [--ignore-stdin]
When ready it prints one JSON line, {"http_port": N, "https_port": M|null, "pid": P},
then serves until killed or until its stdin reaches end of file (so a parent that
dies, closing the pipe, takes the server with it; use --ignore-stdin from a shell).

Control API (plain HTTP or HTTPS, same ports):
  POST /_control/mode   {"path": "/a/b.exe", "mode": "...", ...params}
  POST /_control/reset  clears all modes, counters and logs
  GET  /_control/stats  {"counts", "last_request_lines", "headers", "modes",
                         "requests", "body_bytes"}
Modes: normal, nolength, short(extra), reset(after), drip(chunk, delay),
status(status, location), big(size), cacheable(etag). Every mode also takes
"size" (serve generated pattern bytes of that length instead of the file, so the
path needn't exist) and "headers" (extra response headers).

Modes normal, reset, drip and big send a strong ETag, a Last-Modified and
"Accept-Ranges: bytes", and answer one range ("bytes=N-", "N-M" or "-N") with 206
and Content-Range, or 416 with "Content-Range: bytes */TOTAL" if it starts past
the end; other range forms are ignored. With If-Range, the range is served only
if it names the current ETag or Last-Modified exactly, else the whole body.
Mode reset cuts each response after `after` of its own bytes (default half).

Faults, composable with each other and with the mode and body. A path's turn
counts its GETs since its mode was set (a HEAD is answered as the next GET would be):
  silent: true   read every request of the path and never answer it, overriding
      the other faults: no byte, the connection held open (neither closed nor
      reset) until the client closes it or the server stops, as a server or
      proxy that has gone quiet does
  reset_before_reply: true   reset every connection to the path before any byte
  unavailable: K, retry_after: S   the first K turns get 503 with Retry-After: S
And for modes normal, drip and big (turn n is the n-th GET after the 503s):
  cut_after: N, cut_first: K, cut_by: "reset"|"close"|"stall"   cut each
      response of turns n < K (K 0 or null: every turn) after N of its own body
      bytes, by a reset (RST, the default), a plain close, or a stall (nothing
      more sent, the connection held as for silent); a response of N bytes or
      fewer is not cut
  changing: true (needs size)   turn n serves version n, pattern_bytes(n, size),
      with its own validators (served_content.pattern_sha256(size, n) and
      pattern_validators(size, n) say what they are)
  ranges: false       ignore Range: always 200 and the whole body
  validators: false   no ETag and no Last-Modified
  (changing, ranges and validators apply to mode reset too.)

Stats "requests" logs every request of a path in order: {"method", "range",
"if_range" (the headers, null when absent), "tls" (whether it came over HTTPS), "status" (null when reset or silent
before any reply), "body_bytes" (content bytes written, exactly N when cut),
"version" (of a served body, else null)}, logged as soon as the request is read and
completed when the response ends or its connection starts being held, so a test
can count requests whose connections are still held; "body_bytes" totals a path's
content bytes.
Paths are matched after percent-decoding, without the query string.
"""

import argparse
import email.utils
import fcntl
import html
import json
import os
import socket
import ssl
import struct
import sys
import termios
import threading
import time
import urllib.parse
from http import HTTPStatus
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from served_content import (  # noqa: E402
    CONTROL_PREFIX, FILE_CHUNK, HOST, RANGED_MODES, ControlError, FileBody, PatternBody, State,
    if_range_holds, requested_range, validate_mode)
from product_server_harness import ProductServer  # noqa: E402

__all__ = ["ProductServer", "main"]  # importers take the harness from here

IDLE_TIMEOUT = 60  # an idle keep-alive connection is dropped after this many seconds
HANDSHAKE_TIMEOUT = 10
HOLD_POLL = 0.2  # how often a held connection looks whether its client or the server is gone

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
        entry = state.mode_for(path)
        self._logged, turn = state.record(path, self.command, self.requestline, self.headers,
                                          isinstance(self.connection, ssl.SSLSocket))
        self._status, self._sent, self._version = None, 0, None
        try:
            self._respond(path, entry, turn)
        except OSError:  # includes ssl.SSLError
            self.close_connection = True  # client aborted mid-body
        finally:
            state.finish(self._logged, self._status, self._sent, self._version)

    def _hold(self):
        """Send nothing more and keep the connection open until the client closes it
        or the server stops: a silent peer, which only the client's own patience
        ends. The log entry is completed first, as a test reads it while the hold
        lasts; polling the stop keeps a held connection from delaying shutdown."""
        self.server.state.finish(self._logged, self._status, self._sent, self._version)
        self.close_connection = True
        self.connection.settimeout(HOLD_POLL)
        while not self.server.stopping.is_set():
            try:
                if not self.connection.recv(4096):
                    return  # the client closed
            except socket.timeout:
                continue
            except OSError:  # reset, or TLS torn down
                return

    def send_response(self, code, message=None):
        self._status = code  # for the request log
        super().send_response(code, message)

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

    def _body_for(self, path, entry, version):
        if "size" in entry:
            return PatternBody(entry["size"], version)
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

    def _respond(self, path, entry, turn):
        mode = entry["mode"]
        extra = dict(entry.get("headers", {}))
        if entry.get("silent"):
            self._hold()
            return
        if entry.get("reset_before_reply"):
            self.close_connection = True
            _abort_connection(self.connection)
            return
        unavailable = entry.get("unavailable", 0)
        if turn < unavailable:
            self._send_page(503, dict(extra, **{"Retry-After": str(entry["retry_after"])}))
            return
        turn -= unavailable
        if mode == "status":
            if "location" in entry:
                extra["Location"] = entry["location"]
            self._send_page(entry["status"], extra)
            return
        body = self._body_for(path, entry, turn if entry.get("changing") else 0)
        if body is None:
            self._send_page(404)
            return
        if mode in RANGED_MODES:
            self._send_ranged(body, entry, turn, extra)
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
        if self.command != "HEAD":
            self._write(body, 0, length, entry)

    def _send_ranged(self, body, entry, turn, extra):
        total = body.length
        validators = body.validators if entry.get("validators", True) else {}
        part = None
        if entry.get("ranges", True) and if_range_holds(self.headers.get("If-Range"), validators):
            part = requested_range(self.headers.get("Range"), total)
        if part and part[0] >= total:
            self._send_page(416, dict(extra, **{"Content-Range": f"bytes */{total}"}))
            return
        start, end = part or (0, total)
        self.send_response(206 if part else 200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(end - start))
        if part:
            self.send_header("Content-Range", f"bytes {start}-{end - 1}/{total}")
        if entry.get("ranges", True):
            self.send_header("Accept-Ranges", "bytes")
        for k, v in {**validators, **extra}.items():
            self.send_header(k, v)
        self.end_headers()
        if self.command == "HEAD":
            return
        cut = self._cut_point(entry, turn, end - start)
        self._write(body, start, end if cut is None else start + cut, entry)
        if cut is not None:
            self.close_connection = True  # a plain close: the server's own FIN
            if entry.get("cut_by") == "stall":
                self._hold()
            elif entry.get("cut_by") != "close":
                _abort_connection(self.connection)

    @staticmethod
    def _cut_point(entry, turn, count):
        """How many of a response's `count` body bytes go out before it is cut; None: all."""
        if entry["mode"] == "reset":
            return min(entry.get("after", count // 2), count)
        after, first = entry.get("cut_after"), entry.get("cut_first")
        if after is None or after >= count or (first and turn >= first):
            return None
        return after

    def _write(self, body, start, end, entry):
        drip = entry["mode"] == "drip"
        self._version = body.version
        for i, data in enumerate(body.chunks(start, end, entry["chunk"] if drip else FILE_CHUNK)):
            if i and drip and entry["delay"]:
                time.sleep(entry["delay"])
            self.wfile.write(data)
            self._sent += len(data)


# ---------------------------------------------------------------- servers
class ProductHTTPServer(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 64  # clients may open several connections at once
    scheme = "http"

    def __init__(self, port, root, state, quiet):
        self.root = os.path.realpath(root)
        self.state = state
        self.quiet = quiet
        self.stopping = threading.Event()  # ends the connections being held
        super().__init__((HOST, port), Handler)

    def shutdown(self):
        self.stopping.set()
        super().shutdown()

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


if __name__ == "__main__":
    sys.exit(main())
