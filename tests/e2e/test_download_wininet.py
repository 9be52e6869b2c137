"""DownloadFile on real WinINet under Wine, against the local test product
server (HTTP, and HTTPS with the test CA trusted in the tests' prefix only)
and tinyproxy: the bytes and captions of a transfer, and a download through
a proxy. What a line that drops does is shown on the real program."""

import contextlib
import os
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from download_probe import Probe, keep_wineserver_running  # noqa: E402
from never_accepts import NeverAccepts  # noqa: E402
from product_server import ProductServer  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402

INSTALLER = "/install/install.exe"


class WinInetDownloads(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with contextlib.ExitStack() as stack:
            cls.tmp = Path(stack.enter_context(tempfile.TemporaryDirectory(prefix="orvane-dl-")))
            cls.root = cls.tmp / "served"
            (cls.root / "install").mkdir(parents=True)
            cls.display, cls.wine = stack.enter_context(harness.wine_session())
            keep_wineserver_running(cls.wine)
            tls = cls.wine.trust_test_ca()  # with trust_ca.exe, in this prefix only
            cls.server = stack.enter_context(
                ProductServer(cls.root, cert=tls / "server.pem", key=tls / "server.key"))
            cls.proxy = stack.enter_context(TinyProxy(cls.tmp / "proxy"))
            cls.probe = Probe(cls.wine)
            cls.stack = stack.pop_all()

    @classmethod
    def tearDownClass(cls):
        cls.stack.close()

    def setUp(self):
        self.server.reset()
        self.out = Path(tempfile.mkdtemp(dir=self.tmp, prefix="out-"))
        self.http = f"http://127.0.0.1:{self.server.http_port}"

    def serve(self, data):
        (self.root / INSTALLER.lstrip("/")).write_bytes(data)
        return data

    def assert_nothing_left(self, target):
        """The target, and no partial file beside it."""
        self.assertEqual([p.name for p in self.out.iterdir() if p.name.startswith(target.name)],
                         [target.name])

    def test_http_and_https_downloads_match_the_served_file_with_grouped_captions(self):
        body = self.serve(os.urandom(1_500_000))  # 1,465 Kb
        # Wine refuses a certificate that names the host by address only, so
        # HTTPS goes to the name the test certificate carries.
        https = f"https://localhost:{self.server.https_port}"
        for scheme, base in (("http", self.http), ("https", https)):
            with self.subTest(scheme):
                target = self.out / f"{scheme}.exe"
                result = self.probe.download(base, INSTALLER, target, captions=True)
                self.assertEqual(result["status"], "")
                self.assertEqual(target.read_bytes(), body)
                self.assert_nothing_left(target)
                self.assertEqual(result["caption"], "Finished 100%: 1465Kb / 1465Kb")
                self.assertEqual(result["bar"], result["caption_width"])
                # One caption per 4096-byte block, counting up in grouped kilobytes.
                captions = result["captions"]
                self.assertEqual(len(captions), -(-len(body) // 4096))
                self.assertEqual(captions[0], "Downloading ... 0%: 4Kb / 1,465Kb")
                self.assertEqual(captions[-1], "Downloading ... 100%: 1,465Kb / 1,465Kb")
                self.assertEqual(self.server.stats()["headers"][INSTALLER]["User-Agent"],
                                 "API-Download")

    def test_a_download_through_the_proxy_asks_it_for_the_absolute_address(self):
        body = self.serve(os.urandom(50_000))
        target = self.out / "install.exe"
        # "<local>" bypasses every dotless host, so the server is named by address.
        result = self.probe.download(self.http, INSTALLER, target,
                                     proxy=f"127.0.0.1:{self.proxy.port}")
        self.assertEqual(result["status"], "")
        self.assertEqual(target.read_bytes(), body)
        absolute = f"GET {self.http}{INSTALLER} HTTP/1."
        self.assertTrue(self.proxy.wait_for_log(absolute), self.proxy.log_text()[-2000:])
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1)

    def test_while_nothing_comes_the_caption_says_why_and_stop_lets_go_at_once(self):
        """Stop's first step 2.5 s into a silence: the window answered every
        message posted to it within 100 ms meanwhile, and DownloadFile returns
        within 300 ms, whether the connection is being made, the answer is
        awaited, the body has stopped or the next attempt is waited for."""
        self.serve(os.urandom(300_000))
        with NeverAccepts() as unreachable:
            cases = [("unreachable proxy", {}, unreachable.address, r"Dang ket noi may chu\.\.\."),
                     ("silent server", {"silent": True}, ":", r"Dang cho may chu tra loi\.\.\."),
                     ("stalled body", {"cut_after": 100_000, "cut_by": "stall"}, ":",
                      r"Downloading \.\.\. \d+%: \d+Kb / 293Kb"),
                     ("busy server", {"unavailable": 1, "retry_after": 30}, ":",
                      r"Mat ket noi, thu lai sau 2\d giay \(lan 2\)\.\.\.")]
            for name, fault, proxy, caption in cases:
                with self.subTest(name):
                    self.server.set_mode(INSTALLER, "normal", **fault)
                    result = self.probe.download(
                        self.http, INSTALLER, self.out / "install.exe", proxy=proxy,
                        options=("--abandon-after-ms", "2500", "--ping-ms", "100"))
                    self.assertEqual(result["status"], "NetErr")
                    self.assertRegex(result["caption"], f"^{caption}$")
                    self.assertLess(result["abandon_return_ms"], 300)
                    self.assertGreaterEqual(result["pings"]["answered"], 20)
                    self.assertLess(result["pings"]["worst_ms"], 100)


if __name__ == "__main__":
    unittest.main()
