"""Runs product_server.py as a child process for a test or a script, and
drives its control API."""

import atexit
import json
import os
import select
import subprocess
import sys
import time
import urllib.error
import urllib.request

from served_content import CONTROL_PREFIX, HOST

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "product_server.py")
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
        cmd = [PYTHON, SERVER, "--root", str(self.root),
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
