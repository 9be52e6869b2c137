"""Smoke test of the test bed before the Wine suites rely on it: the test
product server on one loopback port answers HTTP and HTTPS (trusted through
the test CA), counts requests and switches a path to a fault mode. Run:
/usr/bin/python3 -m unittest discover -s tests/server -p 'test_*selftest*.py' -v
"""

import http.client
import ssl
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
from make_test_ca import ensure_test_ca  # noqa: E402
from product_server import ProductServer  # noqa: E402

BODY = b"hello product server\n" * 1000


class ProductServerSmoke(unittest.TestCase):
    def test_one_port_serves_http_and_https_and_a_fault_mode(self):
        with tempfile.TemporaryDirectory(prefix="server-smoke-") as tmp:
            (Path(tmp) / "root" / "install").mkdir(parents=True)
            (Path(tmp) / "root" / "install" / "small.txt").write_bytes(BODY)
            ca = ensure_test_ca(Path(tmp) / "ca")
            with ProductServer(Path(tmp) / "root", ca["server.pem"], ca["server.key"],
                               port=0) as server:
                tls = ssl.create_default_context(cafile=ca["ca.pem"])
                for conn in (http.client.HTTPConnection("127.0.0.1", server.http_port, timeout=20),
                             http.client.HTTPSConnection("localhost", server.https_port,
                                                         context=tls, timeout=20)):
                    with self.subTest(type(conn).__name__):
                        conn.request("GET", "/install/small.txt")
                        response = conn.getresponse()
                        self.assertEqual((response.status, response.read()), (200, BODY))
                        conn.request("GET", "/install/missing.txt")
                        self.assertEqual(conn.getresponse().status, 404)
                        conn.close()
                self.assertEqual(server.stats()["counts"]["/install/small.txt"], 2)
                server.set_mode("/install/small.txt", "status", status=500)
                conn = http.client.HTTPConnection("127.0.0.1", server.http_port, timeout=20)
                conn.request("GET", "/install/small.txt")
                self.assertEqual(conn.getresponse().status, 500)
                conn.close()


if __name__ == "__main__":
    unittest.main()
