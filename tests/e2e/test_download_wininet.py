"""DownloadFile on real WinINet under Wine, against the local test product
server (HTTP and HTTPS with the test CA trusted in the tests' prefix only) and
tinyproxy: the bytes that arrive, the status each fault gives, what is left on
disk, the cache purge, the proxy and the locale's grouping separator."""

import contextlib
import os
import socket
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from download_probe import Probe, keep_wineserver_running  # noqa: E402

from product_server import ProductServer, pattern_bytes  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402

INSTALLER = "/install/install.exe"
INTERNATIONAL = r"HKCU\Control Panel\International"


def closed_port():
    """A loopback port that nothing listens on (bound, then released)."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WinInetDownloads(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stack = contextlib.ExitStack()
        try:
            cls._start()
        except BaseException:
            cls.stack.close()
            raise

    @classmethod
    def _start(cls):
        stack = cls.stack
        cls.tmp = Path(stack.enter_context(tempfile.TemporaryDirectory(prefix="orvane-dl-")))
        cls.root = cls.tmp / "served"
        (cls.root / "install").mkdir(parents=True)
        cls.display, cls.wine = stack.enter_context(harness.wine_session())
        keep_wineserver_running(cls.wine)
        tls = cls.wine.trust_test_ca()  # with trust_ca.exe, in this prefix only
        cls.server = stack.enter_context(
            ProductServer(cls.root, cert=tls / "server.pem", key=tls / "server.key"))
        cls.untrusted = stack.enter_context(
            ProductServer(cls.root, cert=tls / "untrusted.pem", key=tls / "untrusted.key"))
        cls.proxy = stack.enter_context(TinyProxy(cls.tmp / "proxy"))
        cls.probe = Probe(cls.wine)

    @classmethod
    def tearDownClass(cls):
        cls.stack.close()

    def setUp(self):
        self.server.reset()
        self.out = Path(tempfile.mkdtemp(dir=self.tmp, prefix="out-"))

    def serve(self, path, data):
        target = self.root / path.lstrip("/")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        return data

    def http_base(self):
        return f"http://127.0.0.1:{self.server.http_port}"

    def https_base(self):
        # A certificate that names the host by IP address only is refused by
        # Wine, so HTTPS goes to the name the test certificate carries.
        return f"https://localhost:{self.server.https_port}"

    def requests_for(self, path):
        return self.server.stats()["counts"].get(path, 0)

    def assert_nothing_left(self, target):
        self.assertEqual(sorted(p.name for p in target.parent.iterdir()
                                if p.name.startswith(target.name)),
                         [target.name] if target.exists() else [])

    # ------------------------------------------------------------ transfers
    def test_http_and_https_downloads_match_the_served_file(self):
        body = self.serve(INSTALLER, os.urandom(1_500_000))  # 1,465 Kb: grouped captions
        for scheme, base in (("http", self.http_base()), ("https", self.https_base())):
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
                self.assertTrue("Downloading ... 70%: 1,024Kb / 1,465Kb" in captions,
                                f"mid-download captions: {captions[254:258]}")
                self.assertEqual(captions[-1], "Downloading ... 100%: 1,465Kb / 1,465Kb")
                widths = result["widths"]
                self.assertEqual(widths, sorted(widths))
                self.assertEqual(self.server.stats()["headers"][INSTALLER]["User-Agent"],
                                 "API-Download")

    def test_a_body_without_length_downloads_without_progress(self):
        self.server.set_mode(INSTALLER, "nolength", size=200_000)
        target = self.out / "install.exe"
        result = self.probe.download(self.http_base(), INSTALLER, target, captions=True)
        self.assertEqual(result["status"], "")
        self.assertEqual(target.read_bytes(), pattern_bytes(0, 200_000))
        self.assertEqual(result["caption"], "Downloading ... 0%")
        self.assertEqual(result["doevents"], 0)

    # ------------------------------------------------------------ trust and proxy
    def test_an_untrusted_certificate_gives_neterr(self):
        self.serve(INSTALLER, os.urandom(10_000))
        target = self.out / "install.exe"
        result = self.probe.download(f"https://localhost:{self.untrusted.https_port}", INSTALLER,
                                     target)
        self.assertEqual(result["status"], "NetErr")
        self.assertEqual(result["caption"], "")
        self.assertFalse(target.exists())
        self.assert_nothing_left(target)

    def test_a_download_through_the_proxy_asks_it_for_the_absolute_address(self):
        body = self.serve(INSTALLER, os.urandom(50_000))
        target = self.out / "install.exe"
        # "<local>" bypasses every dotless host, so the server is named by address.
        result = self.probe.download(self.http_base(), INSTALLER, target,
                                     proxy=f"127.0.0.1:{self.proxy.port}")
        self.assertEqual(result["status"], "")
        self.assertEqual(target.read_bytes(), body)
        absolute = f"GET {self.http_base()}{INSTALLER} HTTP/1."
        self.assertTrue(self.proxy.wait_for_log(absolute), self.proxy.log_text()[-2000:])
        self.assertEqual(self.requests_for(INSTALLER), 1)

    def test_an_unreachable_proxy_gives_neterr(self):
        self.serve(INSTALLER, os.urandom(10_000))
        target = self.out / "install.exe"
        result = self.probe.download(self.http_base(), INSTALLER, target,
                                     proxy=f"127.0.0.1:{closed_port()}")
        self.assertEqual(result["status"], "NetErr")
        self.assertEqual(result["caption"], "")
        self.assertFalse(target.exists())
        self.assertEqual(self.requests_for(INSTALLER), 0)

    # ------------------------------------------------------------ cache purge
    def test_the_cache_purge_brings_the_servers_new_bytes(self):
        path = "/Tarvik/Tarvik.exe"
        address = self.http_base() + path
        first = self.serve(path, os.urandom(30_000))
        self.server.set_mode(path, "cacheable")  # headers that would allow a stale copy
        target = self.out / "Tarvik.exe"
        self.assertEqual(self.probe.download(self.http_base(), path, target)["status"], "")
        self.assertEqual(target.read_bytes(), first)
        self.assertTrue(self.probe.cached(address), "WinINet kept no cache entry to purge")

        second = self.serve(path, os.urandom(30_000))
        result = self.probe.download(self.http_base(), path, target)
        self.assertEqual(result["status"], "")
        self.assertEqual(target.read_bytes(), second)
        self.assertEqual(self.requests_for(path), 2)
        # Wine's WinINet stores every response but never answers from its
        # cache, so the bytes alone cannot show the purge: the entry can. It
        # is gone by the time the session opens, and it would not be without
        # the purge (the bare loop skipping it still finds the entry).
        self.assertFalse(result["cached_at_open"])
        control = self.probe.bare(self.http_base(), path, self.out / "control.exe",
                                  options=["--no-purge"])
        self.assertTrue(control["cached_at_open"])

    # ------------------------------------------------------------ faults
    def test_a_truncated_body_gives_neterr_and_keeps_the_older_target(self):
        self.serve(INSTALLER, os.urandom(200_000))
        for mode, params in (("short", {"extra": 5000}), ("reset", {"after": 100_000})):
            with self.subTest(mode):
                self.server.set_mode(INSTALLER, mode, **params)
                target = self.out / f"{mode}.exe"
                older = os.urandom(70_000)
                target.write_bytes(older)
                result = self.probe.download(self.http_base(), INSTALLER, target)
                self.assertEqual(result["status"], "NetErr")
                self.assertEqual(target.read_bytes(), older)
                self.assert_nothing_left(target)
                self.assertTrue(result["caption"].startswith("Downloading ... "), result)

    def test_an_error_status_saves_nothing(self):
        for status, expected in ((404, "FileErr"), (410, "FileErr"), (500, "NetErr")):
            with self.subTest(status):
                self.server.set_mode(INSTALLER, "status", status=status)
                target = self.out / f"{status}.exe"
                result = self.probe.download(self.http_base(), INSTALLER, target)
                self.assertEqual(result["status"], expected)
                self.assertEqual(result["caption"], "")
                self.assertFalse(target.exists())
                self.assert_nothing_left(target)

    # ------------------------------------------------------------ locale
    def test_the_users_grouping_separator_shows_in_the_caption(self):
        self.server.set_mode(INSTALLER, "drip", size=3 << 20, chunk=256 << 10, delay=0.02)
        previous = self.wine_registry_value(INTERNATIONAL, "sThousand")
        self.set_wine_registry_value(INTERNATIONAL, "sThousand", ".")
        try:
            result = self.probe.download(self.http_base(), INSTALLER, self.out / "install.exe",
                                         captions=True)
        finally:
            self.set_wine_registry_value(INTERNATIONAL, "sThousand", previous)
        self.assertEqual(result["status"], "")
        captions = result["captions"]
        self.assertTrue("Downloading ... 50%: 1.536Kb / 3.072Kb" in captions,
                        f"mid-download captions: {captions[382:386]}")
        for caption in captions:
            self.assertRegex(caption,
                             r"^Downloading \.\.\. \d+%: (\d{1,3}(\.\d{3})*)?Kb / 3\.072Kb$")
        self.assertEqual(result["caption"], "Finished 100%: 3072Kb / 3072Kb")

    def wine_registry_value(self, key, name):
        output = self.wine.run("reg", "query", key, "/v", name, timeout=60).stdout
        for line in output.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0] == name:
                return parts[2] if len(parts) == 3 else ""
        return None

    def set_wine_registry_value(self, key, name, value):
        if value is None:
            self.wine.run("reg", "delete", key, "/v", name, "/f", timeout=60)
        else:
            self.wine.run_checked("reg", "add", key, "/v", name, "/d", value, "/f", timeout=60)


if __name__ == "__main__":
    unittest.main()
