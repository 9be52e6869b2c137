"""Self-test of the test product server, the test CA and the tinyproxy helper,
against the real processes on 127.0.0.1. Run:
/usr/bin/python3 -m unittest discover -s tests/server -p 'test_*selftest*.py' -v
"""

import email.utils
import hashlib
import http.client
import json
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
from contextlib import closing

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "testbed"))
import make_test_ca  # noqa: E402
import product_server as ps  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402

MiB = 1 << 20
TMP = SERVER = CA = None
FILES = {
    "/install/install.exe": os.urandom(3 * MiB + 7),
    "/install/small.txt": b"hello product server\n" * 1000,
}


def setUpModule():
    global TMP, SERVER, CA
    TMP = tempfile.TemporaryDirectory(prefix="server-selftest-")
    unittest.addModuleCleanup(TMP.cleanup)
    root = os.path.join(TMP.name, "root")
    for path, data in FILES.items():
        os.makedirs(os.path.dirname(root + path), exist_ok=True)
        with open(root + path, "wb") as f:
            f.write(data)
    CA = make_test_ca.ensure_test_ca(os.path.join(TMP.name, "ca"))
    SERVER = ps.ProductServer(root, CA["server.pem"], CA["server.key"],
                              log_path=os.path.join(TMP.name, "server.log")).start()
    unittest.addModuleCleanup(SERVER.stop)


def tls_context(cafile=None):
    return ssl.create_default_context(cafile=cafile or CA["ca.pem"])


def fetch(path, method="GET", headers=None, https=False, port=None):
    """One request over a fresh connection: (status, headers, body)."""
    if https:
        conn = http.client.HTTPSConnection("localhost", port or SERVER.https_port,
                                           context=tls_context(), timeout=20)
    else:
        conn = http.client.HTTPConnection("127.0.0.1", port or SERVER.http_port, timeout=20)
    with closing(conn):
        conn.request(method, path, headers=headers or {})
        resp = conn.getresponse()
        return resp.status, resp.headers, resp.read()


def raw_exchange(target, https=False, close=True):
    """Send a bare GET and read to the end; (status line + headers, body, how it ended).
    close=False leaves it to the server to end the connection, as fault modes must."""
    sock = socket.create_connection(("127.0.0.1", SERVER.https_port if https else SERVER.http_port),
                                    timeout=20)
    if https:
        sock = tls_context().wrap_socket(sock, server_hostname="localhost",
                                         suppress_ragged_eofs=False)
    data, ended = bytearray(), "eof"
    with sock:
        extra = "Connection: close\r\n" if close else ""
        sock.sendall(f"GET {target} HTTP/1.1\r\nHost: localhost\r\n{extra}\r\n".encode())
        try:
            while chunk := sock.recv(256 * 1024):
                data += chunk
        except OSError as e:  # ConnectionResetError, or SSLEOFError when TLS meets a reset
            ended = type(e).__name__
    head, _, body = bytes(data).partition(b"\r\n\r\n")
    return head.decode("latin-1"), body, ended


class ServerCase(unittest.TestCase):
    def setUp(self):
        SERVER.reset()


class Serving(ServerCase):
    def test_files_come_back_exact_and_anything_else_is_a_404_page(self):
        data = FILES["/install/install.exe"]
        status, headers, body = fetch("/install/install.exe")
        self.assertEqual((status, body, headers["Content-Length"]), (200, data, str(len(data))))
        self.assertNotIn("Cache-Control", headers)
        self.assertEqual(fetch("/install/install.exe", "HEAD")[2], b"")
        for target in ("/install/nope.exe", "/install", "/install/../../../../etc/passwd"):
            head, body, _ = raw_exchange(target)
            self.assertTrue(head.startswith("HTTP/1.1 404"), target)
            self.assertIn(f"content-length: {len(body)}", head.lower())
        self.assertEqual(SERVER.stats()["counts"]["/install/install.exe"], 2)

    def test_https_is_trusted_through_the_test_ca_only(self):
        self.assertEqual(fetch("/install/small.txt", https=True)[2], FILES["/install/small.txt"])
        with ps.ProductServer(os.path.join(TMP.name, "root"), CA["untrusted.pem"],
                              CA["untrusted.key"]) as bad:
            with self.assertRaises(ssl.SSLCertVerificationError):
                fetch("/install/small.txt", https=True, port=bad.https_port)

    def test_one_port_answers_http_and_https(self):
        with ps.ProductServer(os.path.join(TMP.name, "root"), CA["server.pem"], CA["server.key"],
                              port=0) as dual:
            self.assertEqual(dual.http_port, dual.https_port)
            for https in (False, True):
                status, _, body = fetch("/install/small.txt", https=https, port=dual.http_port)
                self.assertEqual((status, body), (200, FILES["/install/small.txt"]), https)


class FaultModes(ServerCase):
    path = "/install/install.exe"
    data = FILES["/install/install.exe"]

    def exchange(self, mode, https=False, close=True, **params):
        SERVER.set_mode(self.path, mode, **params)
        return raw_exchange(self.path, https=https, close=close)

    def test_truncations_announce_more_than_they_deliver(self):
        for https in (False, True):
            # The server, not the client, must end these connections.
            head, body, ended = self.exchange("short", https=https, close=False)
            self.assertIn(f"Content-Length: {len(self.data) + 1000}", head)
            self.assertEqual((body, ended), (self.data, "eof"))
            _, body, ended = self.exchange("reset", https=https, close=False, after=100000)
            self.assertEqual(body, self.data[:100000])
            self.assertNotEqual(ended, "eof")

    def test_other_modes(self):
        head, body, _ = self.exchange("nolength")
        self.assertNotIn("content-length", head.lower())
        self.assertEqual(body, self.data)

        started = time.monotonic()
        _, body, _ = self.exchange("drip", chunk=MiB, delay=0.2)
        self.assertEqual(body, self.data)
        self.assertGreater(time.monotonic() - started, 0.5)

        for code in (404, 500):
            head, body, _ = self.exchange("status", status=code)
            self.assertTrue(head.startswith(f"HTTP/1.1 {code}"))
            self.assertIn(f"Content-Length: {len(body)}", head)

        _, body, _ = self.exchange("big", size=3 * MiB + 5)
        self.assertEqual(body, ps.pattern_bytes(0, 3 * MiB + 5))

        SERVER.set_mode(self.path, "cacheable")
        _, headers, _ = fetch(self.path)
        self.assertIn("max-age", headers["Cache-Control"])
        status, _, _ = fetch(self.path, headers={"If-None-Match": headers["ETag"]})
        self.assertEqual(status, 304, "a cache may keep its stale copy")

    def test_throughput_of_a_long_generated_body(self):
        SERVER.set_mode(self.path, "big", size=256 * MiB)
        started = time.monotonic()
        conn = http.client.HTTPConnection("127.0.0.1", SERVER.http_port, timeout=60)
        with closing(conn):
            conn.request("GET", self.path)
            response = conn.getresponse()
            received = 0
            while chunk := response.read(1 << 20):
                received += len(chunk)
        seconds = time.monotonic() - started
        self.assertEqual(received, 256 * MiB)
        print(f"\n256 MiB generated body over loopback: {256 / seconds:.0f} MiB/s", file=sys.stderr)


class ThroughProxy(ServerCase):
    def test_tinyproxy_forwards_and_logs_the_request(self):
        with TinyProxy(os.path.join(TMP.name, "proxy")) as proxy:
            conn = http.client.HTTPConnection("127.0.0.1", proxy.port, timeout=20)
            with closing(conn):
                target = f"http://127.0.0.1:{SERVER.http_port}/install/small.txt"
                conn.request("GET", target)
                self.assertEqual(conn.getresponse().read(), FILES["/install/small.txt"])
            proxy.wait_for_log("/install/small.txt")
        self.assertEqual(SERVER.stats()["counts"]["/install/small.txt"], 1)


if __name__ == "__main__":
    unittest.main()
