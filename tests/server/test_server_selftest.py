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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_test_ca  # noqa: E402
import product_server as ps  # noqa: E402
from test_proxy import TinyProxy  # noqa: E402

MiB = 1 << 20
TMP = SERVER = CA = None
FILES = {
    "/install/install.exe": os.urandom(3 * MiB + 7),
    "/install/small.txt": b"hello product server\n" * 1000,
    "/install/my file.bin": os.urandom(5000),
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


class NormalServing(ServerCase):
    def test_get_and_head_serve_exact_bytes_with_plain_headers(self):
        data = FILES["/install/install.exe"]
        status, headers, body = fetch("/install/install.exe")
        self.assertEqual((status, body), (200, data))
        self.assertEqual(headers["Content-Length"], str(len(data)))
        self.assertEqual(headers["Content-Type"], "application/octet-stream")
        self.assertNotIn("Cache-Control", headers)
        status, headers, body = fetch("/install/install.exe", "HEAD")
        self.assertEqual((status, headers["Content-Length"], body), (200, str(len(data)), b""))
        self.assertEqual(fetch("/install/my%20file.bin")[2], FILES["/install/my file.bin"])

    def test_missing_directory_and_escaping_paths_are_404_pages(self):
        for target in ("/install/nope.exe", "/install", "/install/../../../../etc/passwd"):
            head, body, ended = raw_exchange(target)
            self.assertTrue(head.startswith("HTTP/1.1 404"), target)
            self.assertIn(f"content-length: {len(body)}", head.lower())
            self.assertIn(b"<html>", body)
            self.assertEqual(ended, "eof")

    def test_keep_alive_reuses_one_connection_across_responses(self):
        conn = http.client.HTTPConnection("127.0.0.1", SERVER.http_port, timeout=20)
        with closing(conn):
            first_socket = None
            for path in ("/install/small.txt", "/missing", "/install/small.txt"):
                conn.request("GET", path)
                resp = conn.getresponse()
                resp.read()
                self.assertFalse(resp.will_close, path)
                first_socket = first_socket or conn.sock
                self.assertIs(conn.sock, first_socket, path)  # a 404 must not drop the connection
        self.assertEqual(SERVER.stats()["counts"], {"/install/small.txt": 2, "/missing": 1})

    def test_absolute_uri_request_line_is_served_and_recorded(self):
        target = f"http://127.0.0.1:{SERVER.http_port}/install/small.txt"
        head, body, ended = raw_exchange(target)
        self.assertTrue(head.startswith("HTTP/1.1 200"))
        self.assertEqual(ended, "eof")
        self.assertEqual(body, FILES["/install/small.txt"])
        self.assertEqual(SERVER.stats()["last_request_lines"]["/install/small.txt"],
                         f"GET {target} HTTP/1.1")


class Https(ServerCase):
    def test_test_ca_verifies_server_for_python_and_curl(self):
        self.assertEqual(fetch("/install/install.exe", https=True)[2], FILES["/install/install.exe"])
        out = os.path.join(TMP.name, "curl.out")
        for host in ("localhost", "127.0.0.1"):  # both subjectAltName entries
            subprocess.run(["curl", "-sSf", "--noproxy", "*", "--max-time", "20", "--cacert",
                            CA["ca.pem"], "-o", out,
                            f"https://{host}:{SERVER.https_port}/install/small.txt"],
                           check=True, timeout=30)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), FILES["/install/small.txt"])

    def test_untrusted_certificate_fails_only_on_trust(self):
        with ps.ProductServer(os.path.join(TMP.name, "root"), CA["untrusted.pem"],
                              CA["untrusted.key"]) as bad:
            with self.assertRaises(ssl.SSLCertVerificationError):
                fetch("/install/small.txt", https=True, port=bad.https_port)
            curl = subprocess.run(["curl", "-sS", "--noproxy", "*", "--max-time", "20",
                                   "--cacert", CA["ca.pem"], "-o", os.devnull,
                                   f"https://localhost:{bad.https_port}/install/small.txt"],
                                  capture_output=True, timeout=30)
            self.assertEqual(curl.returncode, 60, curl.stderr)  # 60: peer certificate not trusted
            # Trusted explicitly, the same certificate passes: names and dates are right.
            conn = http.client.HTTPSConnection("localhost", bad.https_port, timeout=20,
                                               context=tls_context(CA["untrusted.pem"]))
            with closing(conn):
                conn.request("GET", "/install/small.txt")
                self.assertEqual(conn.getresponse().status, 200)

    def test_faults_over_tls_reset_and_truncate(self):
        data = FILES["/install/install.exe"]
        SERVER.set_mode("/install/install.exe", "reset", after=100000)
        _, body, ended = raw_exchange("/install/install.exe", https=True, close=False)
        self.assertEqual(body, data[:100000])
        self.assertIn(ended, ("SSLEOFError", "ConnectionResetError"))
        SERVER.set_mode("/install/install.exe", "short")
        head, body, ended = raw_exchange("/install/install.exe", https=True, close=False)
        self.assertIn(f"Content-Length: {len(data) + 1000}", head)
        self.assertEqual((body, ended), (data, "eof"))


class TestCA(unittest.TestCase):
    def test_dates_names_reuse_and_repair(self):
        with tempfile.TemporaryDirectory() as d:
            paths = make_test_ca.ensure_test_ca(d)
            text = subprocess.run([make_test_ca.OPENSSL, "x509", "-noout", "-text", "-startdate",
                                   "-enddate", "-in", paths["server.pem"]],
                                  capture_output=True, text=True, check=True, timeout=30).stdout
            self.assertIn("DNS:localhost, IP Address:127.0.0.1", text)
            start, end = (ssl.cert_time_to_seconds(line.split("=", 1)[1])
                          for line in text.splitlines() if line.startswith(("notBefore=", "notAfter=")))
            self.assertAlmostEqual(start, time.time() - 86400, delta=600)
            self.assertEqual(end - start, 30 * 86400)
            mtimes = {n: os.stat(p).st_mtime_ns for n, p in paths.items()}
            make_test_ca.ensure_test_ca(d)
            self.assertEqual(mtimes, {n: os.stat(p).st_mtime_ns for n, p in paths.items()})
            with open(paths["server.pem"], "w") as f:
                f.write("broken")
            make_test_ca.ensure_test_ca(d)
            self.assertTrue(make_test_ca.is_valid(d))


class FaultModes(ServerCase):
    path = "/install/install.exe"
    data = FILES["/install/install.exe"]

    def test_nolength_is_close_delimited(self):
        SERVER.set_mode(self.path, "nolength")
        head, body, ended = raw_exchange(self.path, close=False)
        self.assertNotIn("content-length", head.lower())
        self.assertIn("Connection: close", head)
        self.assertEqual((body, ended), (self.data, "eof"))

    def test_short_delivers_fewer_bytes_than_announced(self):
        SERVER.set_mode(self.path, "short", extra=500)
        with self.assertRaises(http.client.IncompleteRead) as cm:
            fetch(self.path)
        self.assertEqual(cm.exception.partial, self.data)
        self.assertEqual(cm.exception.expected, 500)

    def test_reset_aborts_mid_body(self):
        for params, cut in (({}, len(self.data) // 2), ({"after": 12345}, 12345)):
            SERVER.set_mode(self.path, "reset", **params)
            head, body, ended = raw_exchange(self.path, close=False)
            self.assertIn(f"Content-Length: {len(self.data)}", head)
            self.assertEqual((body, ended), (self.data[:cut], "ConnectionResetError"))

    def test_drip_is_slow_but_complete(self):
        SERVER.set_mode(self.path, "drip", chunk=len(self.data) // 8 + 1, delay=0.1)
        started = time.monotonic()
        status, headers, body = fetch(self.path)
        self.assertGreaterEqual(time.monotonic() - started, 0.65)  # 7 pauses between 8 chunks
        self.assertEqual((status, headers["Content-Length"], body), (200, str(len(self.data)), self.data))

    def test_status_pages_for_existing_and_missing_paths(self):
        for path in (self.path, "/install/gone.exe"):
            for code in (404, 410, 500):
                SERVER.set_mode(path, "status", status=code)
                status, headers, body = fetch(path)
                self.assertEqual(status, code)
                self.assertIn(str(code).encode(), body)
                self.assertEqual(headers["Content-Length"], str(len(body)))
        SERVER.set_mode(self.path, "status", status=302, location="/install/small.txt")
        self.assertEqual(fetch(self.path)[1]["Location"], "/install/small.txt")

    def test_modes_hold_per_exact_path_until_cleared(self):
        SERVER.set_mode(self.path, "status", status=500)
        self.assertEqual(fetch("/install/small.txt")[0], 200)
        self.assertEqual(fetch(self.path + "?x=1")[0], 500)  # the query is not part of the path
        SERVER.set_mode(self.path, "normal")
        self.assertEqual(fetch(self.path)[0], 200)
        SERVER.set_mode(self.path, "status", status=500)
        SERVER.reset()
        self.assertEqual(fetch(self.path)[0], 200)

    def test_bad_control_requests_are_refused(self):
        for payload in ({"path": self.path, "mode": "explode"}, {"mode": "short"},
                        {"path": self.path, "mode": "big", "size": "lots"},
                        {"path": self.path, "mode": "status", "status": 9000}):
            conn = http.client.HTTPConnection("127.0.0.1", SERVER.http_port, timeout=20)
            with closing(conn):
                conn.request("POST", "/_control/mode", json.dumps(payload))
                self.assertEqual(conn.getresponse().status, 400, payload)
        self.assertEqual(SERVER.stats()["modes"], {})

    def test_cacheable_headers_and_revalidation(self):
        SERVER.set_mode(self.path, "cacheable")
        status, headers, body = fetch(self.path)
        self.assertEqual((status, body), (200, self.data))
        self.assertEqual(headers["Cache-Control"], "public, max-age=86400")
        now = time.time()
        self.assertAlmostEqual(email.utils.parsedate_to_datetime(headers["Expires"]).timestamp(),
                               now + 86400, delta=120)
        self.assertAlmostEqual(email.utils.parsedate_to_datetime(headers["Last-Modified"]).timestamp(),
                               now - 3600, delta=120)
        status, _, body = fetch(self.path, headers={"If-None-Match": headers["ETag"]})
        self.assertEqual((status, body), (304, b""))
        self.assertEqual(fetch(self.path, headers={"If-None-Match": '"other"'})[0], 200)


class BigBody(ServerCase):
    def test_fast_generator_matches_the_byte_formula(self):
        for offset in (0, 4090, ps.PATTERN_PERIOD - 5000, 3 * ps.PATTERN_PERIOD + 77, (5 << 30) + 1):
            expected = bytes((i * 31 + (i >> 12)) & 0xFF for i in range(offset, offset + 10000))
            self.assertEqual(ps.pattern_bytes(offset, 10000), expected, offset)

    def test_big_streams_generated_bytes_for_a_missing_path(self):
        size = 3 * MiB + 12345  # crosses the generator's period
        SERVER.set_mode("/gen/big.bin", "big", size=size)
        status, headers, body = fetch("/gen/big.bin")
        self.assertEqual((status, headers["Content-Length"]), (200, str(size)))
        self.assertEqual(hashlib.sha256(body).hexdigest(), ps.pattern_sha256(size))

    def test_beyond_2_gib_announced_streamed_and_abandoned(self):
        size = (3 << 30) + 1
        SERVER.set_mode("/gen/huge.bin", "big", size=size)
        self.assertEqual(fetch("/gen/huge.bin", "HEAD")[1]["Content-Length"], str(size))
        conn = http.client.HTTPConnection("127.0.0.1", SERVER.http_port, timeout=20)
        conn.request("GET", "/gen/huge.bin")
        resp = conn.getresponse()
        self.assertEqual(resp.read(8 * MiB), ps.pattern_bytes(0, 8 * MiB))
        conn.close()  # abandon mid-body; the server must carry on
        self.assertEqual(fetch("/install/small.txt")[0], 200)

    def test_throughput_of_256_mib(self):
        size = 256 * MiB
        SERVER.set_mode("/gen/256.bin", "big", size=size)
        for https in (False, True):
            port = SERVER.https_port if https else SERVER.http_port
            sock = socket.create_connection(("127.0.0.1", port), timeout=20)
            if https:
                sock = tls_context().wrap_socket(sock, server_hostname="localhost")
            buf, received = memoryview(bytearray(4 * MiB)), 0
            with sock:
                started = time.monotonic()
                sock.sendall(b"GET /gen/256.bin HTTP/1.1\r\nHost: localhost\r\n\r\n")
                head = b""
                while b"\r\n\r\n" not in head:
                    n = sock.recv_into(buf)
                    self.assertGreater(n, 0, "connection closed early")
                    head += bytes(buf[:n])
                received = len(head.partition(b"\r\n\r\n")[2])
                while received < size:
                    n = sock.recv_into(buf)
                    self.assertGreater(n, 0, "connection closed early")
                    received += n
                elapsed = time.monotonic() - started
            rate = size / elapsed / 1e6
            print(f"\n  256 MiB over {'HTTPS' if https else 'HTTP'}: {elapsed:.2f} s, {rate:.0f} MB/s",
                  file=sys.stderr)
            self.assertEqual(received, size)
            self.assertGreater(rate, 20)  # a generous floor; the real figure is printed


class Counting(ServerCase):
    def test_counts_every_get_and_head_but_no_control_call(self):
        SERVER.set_mode("/install/install.exe", "reset")
        SERVER.set_mode("/gen/x", "status", status=410)
        raw_exchange("/install/install.exe")
        fetch("/install/small.txt", "HEAD")
        fetch("/install/small.txt", headers={"X-Probe": "1"})
        fetch("/gen/x")
        fetch("/nothing/here")
        stats = SERVER.stats()
        self.assertEqual(stats["counts"], {"/install/install.exe": 1, "/install/small.txt": 2,
                                           "/gen/x": 1, "/nothing/here": 1})
        self.assertEqual(stats["headers"]["/install/small.txt"]["X-Probe"], "1")
        self.assertEqual(stats["last_request_lines"]["/install/small.txt"],
                         "GET /install/small.txt HTTP/1.1")
        SERVER.reset()
        self.assertEqual(SERVER.stats()["counts"], {})


class ThroughProxy(ServerCase):
    @classmethod
    def setUpClass(cls):
        cls.proxy = TinyProxy(os.path.join(TMP.name, "proxy")).start()

    @classmethod
    def tearDownClass(cls):
        cls.proxy.stop()

    def test_http_get_via_tinyproxy_reaches_server_and_is_logged(self):
        url = SERVER.http_url("/install/install.exe")
        conn = http.client.HTTPConnection("127.0.0.1", self.proxy.port, timeout=20)
        with closing(conn):
            conn.request("GET", url)
            resp = conn.getresponse()
            self.assertEqual((resp.status, resp.read()), (200, FILES["/install/install.exe"]))
        self.assertEqual(SERVER.stats()["counts"], {"/install/install.exe": 1})
        self.assertTrue(self.proxy.wait_for_log(f"GET {url}"), self.proxy.log_text())

    def test_https_tunnel_via_tinyproxy(self):
        conn = http.client.HTTPSConnection("127.0.0.1", self.proxy.port, timeout=20,
                                           context=tls_context())
        conn.set_tunnel("localhost", SERVER.https_port)
        with closing(conn):
            conn.request("GET", "/install/small.txt")
            self.assertEqual(conn.getresponse().read(), FILES["/install/small.txt"])
        self.assertTrue(self.proxy.wait_for_log(f"CONNECT localhost:{SERVER.https_port}"))


class Lifetime(unittest.TestCase):
    def test_server_exits_when_its_stdin_closes(self):
        with ps.ProductServer(os.path.join(TMP.name, "root")) as srv:
            proc, port = srv.proc, srv.http_port
            proc.stdin.close()
            self.assertEqual(proc.wait(timeout=10), 0)
            with self.assertRaises(ConnectionRefusedError):
                socket.create_connection(("127.0.0.1", port), timeout=5).close()


if __name__ == "__main__":
    unittest.main()
