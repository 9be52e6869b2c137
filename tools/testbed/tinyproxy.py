#!/usr/bin/python3
"""TinyProxy: runs Debian's tinyproxy on a free 127.0.0.1 port for a test, as a
context manager that writes its own config and log into a given folder."""

import atexit
import os
import socket
import subprocess
import time

TINYPROXY = "/usr/bin/tinyproxy"
HOST = "127.0.0.1"

CONFIG = """\
Port {port}
Listen 127.0.0.1
Timeout 30
MaxClients 20
LogFile "{log}"
# Connect logs every request line (with its full URL) without Info's noise.
LogLevel Connect
Allow 127.0.0.1
DisableViaHeader Yes
# No ConnectPort line: CONNECT is allowed to any port, as test servers use high ones.
"""


def free_port():
    with socket.socket() as s:
        s.bind((HOST, 0))
        return s.getsockname()[1]


def _accepts(port):
    try:
        with socket.create_connection((HOST, port), timeout=0.5):
            return True
    except OSError:
        return False


class TinyProxy:
    """Start with `with TinyProxy(tmpdir) as proxy:`; then proxy.port, proxy.url,
    proxy.log_text(), proxy.wait_for_log(text)."""

    def __init__(self, folder, start_timeout=10.0, attempts=3, login=None):
        """login: (user, password) the proxy asks every client for, with 407."""
        self.login = login
        self.folder = os.path.abspath(folder)
        self.start_timeout = start_timeout
        self.attempts = attempts
        self.proc = None
        self.port = None
        self.log_path = os.path.join(self.folder, "tinyproxy.log")
        self.conf_path = os.path.join(self.folder, "tinyproxy.conf")

    @property
    def url(self):
        return f"http://{HOST}:{self.port}"

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        os.makedirs(self.folder, exist_ok=True)
        atexit.register(self.stop)
        # The free port is only free when probed; another process may take it
        # before tinyproxy binds, so a failed start is retried on a new port.
        for _ in range(self.attempts):
            self.port = free_port()
            with open(self.conf_path, "w") as f:
                f.write(CONFIG.format(port=self.port, log=self.log_path))
                if self.login:
                    f.write("BasicAuth {} {}\n".format(*self.login))
            self.proc = subprocess.Popen([TINYPROXY, "-d", "-c", self.conf_path],
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + self.start_timeout
            while time.monotonic() < deadline and self.proc.poll() is None:
                if _accepts(self.port):
                    return self
                time.sleep(0.05)
            self.stop()
        raise RuntimeError(f"tinyproxy did not start; see {self.log_path}")

    def stop(self):
        proc, self.proc = self.proc, None
        if proc is None:
            return
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(5)

    def log_text(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def wait_for_log(self, text, timeout=5.0):
        """Wait until the log contains text; return whether it did."""
        deadline = time.monotonic() + timeout
        while True:
            if text in self.log_text():
                return True
            if time.monotonic() >= deadline:
                return False
            time.sleep(0.05)
