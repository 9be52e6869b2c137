"""What the test product server serves and how: the generated pattern body,
bodies read from files, the per-path fault modes and their validation, and
the state the control API changes (modes, request counts, headers seen)."""

import email.utils
import hashlib
import os
import threading
import time

MODES = ("normal", "nolength", "short", "reset", "drip", "status", "big", "cacheable")
FILE_CHUNK = 1 << 20
DEFAULT_BIG_SIZE = 256 << 20

# ---------------------------------------------------------------- pattern body
# Byte i of a generated body is (i * 31 + (i >> 12)) & 0xFF. Its period is 1 MiB
# (i*31 mod 256 repeats every 256, (i >> 12) mod 256 every 2**20), so one period is
# built once, doubled, and any window of up to a period is a zero-copy slice.
PATTERN_PERIOD = 1 << 20


def _build_pattern():
    block = bytes((j * 31) & 0xFF for j in range(4096))
    # Within block k (i = k*4096 + j) the byte is (j*31 + k) & 0xFF, as 4096*31 is 0 mod 256.
    blocks = [block.translate(bytes((x + k) & 0xFF for x in range(256))) for k in range(256)]
    period = b"".join(blocks)
    return memoryview(period + period)


_PATTERN = _build_pattern()


def pattern_chunks(start, end, chunk=FILE_CHUNK):
    """Yield memoryviews covering pattern bytes [start, end), each at most `chunk` long."""
    chunk = max(1, min(chunk, PATTERN_PERIOD))
    pos = start
    while pos < end:
        n = min(chunk, end - pos)
        off = pos % PATTERN_PERIOD
        yield _PATTERN[off:off + n]
        pos += n


def pattern_bytes(offset, length):
    """The generated body's bytes [offset, offset + length)."""
    return b"".join(pattern_chunks(offset, offset + length))


def pattern_sha256(size):
    """Hex SHA-256 of the first `size` bytes of the generated body."""
    h = hashlib.sha256()
    for mv in pattern_chunks(0, size):
        h.update(mv)
    return h.hexdigest()


class FileBody:
    def __init__(self, path):
        self.path = path
        self.length = os.path.getsize(path)

    def chunks(self, start, end, chunk=FILE_CHUNK):
        chunk = max(1, chunk)
        with open(self.path, "rb") as f:
            f.seek(start)
            pos = start
            while pos < end:
                data = f.read(min(chunk, end - pos))
                if not data:  # the file shrank under us: the client sees a short body
                    return
                pos += len(data)
                yield data


class PatternBody:
    def __init__(self, length):
        self.length = length

    def chunks(self, start, end, chunk=FILE_CHUNK):
        return pattern_chunks(start, end, chunk)


# ---------------------------------------------------------------- shared state
class ControlError(ValueError):
    pass


def _number(req, name, default, kind=int, minimum=0):
    value = req.get(name, default)
    try:
        value = kind(value)
    except (TypeError, ValueError):
        raise ControlError(f"{name} must be a number") from None
    if value < minimum:
        raise ControlError(f"{name} must be >= {minimum}")
    return value


def validate_mode(req):
    """Check a control request and return the normalised mode entry it sets."""
    if not isinstance(req, dict):
        raise ControlError("body must be a JSON object")
    path = req.get("path")
    if not isinstance(path, str) or not path.startswith("/"):
        raise ControlError("path must be an absolute path such as /install/x.exe")
    mode = req.get("mode", "normal")
    if mode not in MODES:
        raise ControlError(f"unknown mode {mode!r}; known: {', '.join(MODES)}")
    entry = {"mode": mode}
    if "size" in req or mode == "big":
        entry["size"] = _number(req, "size", DEFAULT_BIG_SIZE)
    if mode == "short":
        entry["extra"] = _number(req, "extra", 1000, minimum=1)
    elif mode == "reset":
        if "after" in req:
            entry["after"] = _number(req, "after", 0)
    elif mode == "drip":
        entry["chunk"] = _number(req, "chunk", 4096, minimum=1)
        entry["delay"] = _number(req, "delay", 0.05, kind=float)
    elif mode == "status":
        entry["status"] = _number(req, "status", 500, minimum=100)
        if entry["status"] > 599:
            raise ControlError("status must be 100..599")
        if "location" in req:
            entry["location"] = str(req["location"])
    elif mode == "cacheable":
        # Fixed when the mode is set, not derived from the content, so a client that
        # revalidates a stale cached copy is told it is still good (see _not_modified).
        now = time.time()
        entry["etag"] = str(req.get("etag") or '"%s-%x"' % (hashlib.sha1(path.encode()).hexdigest()[:8], int(now)))
        entry["last_modified"] = email.utils.formatdate(now - 3600, usegmt=True)
        entry["expires_at"] = now + 86400
    extra = req.get("headers", {})
    if not isinstance(extra, dict):
        raise ControlError("headers must be an object")
    if extra:
        entry["headers"] = {str(k): str(v) for k, v in extra.items()}
    return path, entry


class State:
    def __init__(self):
        self._lock = threading.Lock()
        self.reset()

    def reset(self):
        with self._lock:
            self.modes = {}
            self.counts = {}
            self.lines = {}
            self.headers = {}

    def set_mode(self, path, entry):
        with self._lock:
            if entry["mode"] == "normal" and len(entry) == 1:
                self.modes.pop(path, None)
            else:
                self.modes[path] = entry

    def mode_for(self, path):
        with self._lock:
            return dict(self.modes.get(path, {"mode": "normal"}))

    def record(self, path, request_line, headers):
        merged = {}
        for name, value in headers.items():
            merged[name] = merged[name] + ", " + value if name in merged else value
        with self._lock:
            self.counts[path] = self.counts.get(path, 0) + 1
            self.lines[path] = request_line
            self.headers[path] = merged

    def stats(self):
        with self._lock:
            return {
                "counts": dict(self.counts),
                "last_request_lines": dict(self.lines),
                "headers": {p: dict(h) for p, h in self.headers.items()},
                "modes": {p: dict(m) for p, m in self.modes.items()},
            }


# ---------------------------------------------------------------- handler
