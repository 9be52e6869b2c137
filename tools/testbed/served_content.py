"""What the test product server serves and how: the generated pattern body and
its versions, bodies read from files, their validators, byte ranges, the per-path
fault modes and their validation, and the state the control API changes (modes,
request counts, headers seen, every request's range and outcome)."""

import email.utils
import hashlib
import os
import re
import threading
import time

HOST = "127.0.0.1"
CONTROL_PREFIX = "/_control/"
MODES = ("normal", "nolength", "short", "reset", "drip", "status", "big", "cacheable")
# Modes whose body is served with validators and byte ranges.
RANGED_MODES = ("normal", "reset", "drip", "big")
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


def pattern_sha256(size, version=0):
    """Hex SHA-256 of version `version` of a generated body `size` long, which is
    pattern_bytes(version, size): the pattern shifted by the version."""
    h = hashlib.sha256()
    for mv in pattern_chunks(version, version + size):
        h.update(mv)
    return h.hexdigest()


# Versions of a generated body are a minute apart, so each has its own Last-Modified.
PATTERN_EPOCH = 1_700_000_000


def pattern_validators(size, version=0):
    """The ETag and Last-Modified of version `version` of a generated body."""
    return {"ETag": '"pattern-%x-v%d"' % (size, version),
            "Last-Modified": email.utils.formatdate(PATTERN_EPOCH + 60 * version, usegmt=True)}


class FileBody:
    def __init__(self, path):
        self.path = path
        st = os.stat(path)
        self.length = st.st_size
        self.version = 0
        # Size and modification time name the file's version, as they would for a
        # real server; a rewrite within the same second changes only the ETag.
        self.validators = {"ETag": '"%x-%x"' % (st.st_size, st.st_mtime_ns),
                           "Last-Modified": email.utils.formatdate(st.st_mtime, usegmt=True)}

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
    def __init__(self, length, version=0):
        self.length = length
        self.version = version
        self.validators = pattern_validators(length, version)

    def chunks(self, start, end, chunk=FILE_CHUNK):
        return pattern_chunks(self.version + start, self.version + end, chunk)


# ---------------------------------------------------------------- ranges
_RANGE = re.compile(r"bytes=([0-9]*)-([0-9]*)", re.IGNORECASE)


def requested_range(header, total):
    """The part [start, end) of a body `total` long that a Range header asks for;
    start >= total when the range starts past the end. None serves the whole
    body: no header, or one ignored (several ranges, another unit, bad syntax)."""
    m = _RANGE.fullmatch(header.strip()) if header else None
    if not m or m.groups() == ("", ""):
        return None
    first, last = m.groups()
    if not first:  # "-N": the last N bytes
        n = int(last)
        return (max(total - n, 0), total) if n else (total, total)
    start = int(first)
    if last and int(last) < start:
        return None
    return start, min(int(last) + 1, total) if last else total


def if_range_holds(header, validators):
    """Whether a range may be served: no If-Range, or one naming the current
    ETag or Last-Modified exactly. Without validators nothing matches."""
    return header is None or header in validators.values()


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
    _add_faults(req, entry)
    return path, entry


def _flag(req, name, default=False):
    value = req.get(name, default)
    if not isinstance(value, bool):
        raise ControlError(f"{name} must be true or false")
    return value


def _add_faults(req, entry):
    """The faults that compose with the mode and the body: silence or refusals
    before any reply, and for a ranged mode, cut responses, versions and
    validation offered. A flag enters the entry only when it differs from its
    default."""
    for name in ("silent", "reset_before_reply"):
        if _flag(req, name):
            entry[name] = True
    if "unavailable" in req:
        entry["unavailable"] = _number(req, "unavailable", 1, minimum=1)
        entry["retry_after"] = _number(req, "retry_after", 1)
    elif "retry_after" in req:
        raise ControlError("retry_after goes with unavailable")
    ranged = [n for n in ("cut_after", "changing", "ranges", "validators") if n in req]
    if ranged and entry["mode"] not in RANGED_MODES:
        raise ControlError(f"{ranged[0]} needs one of the modes {', '.join(RANGED_MODES)}")
    if "cut_after" in req:
        if entry["mode"] == "reset":
            raise ControlError("mode reset cuts every response already: give it after")
        entry["cut_after"] = _number(req, "cut_after", 0)
        if req.get("cut_first"):  # 0 or null: every response
            entry["cut_first"] = _number(req, "cut_first", 0)
        if req.get("cut_by", "reset") not in ("reset", "close", "stall"):
            raise ControlError("cut_by must be reset, close or stall")
        entry["cut_by"] = req.get("cut_by", "reset")
    elif "cut_first" in req or "cut_by" in req:
        raise ControlError("cut_first and cut_by go with cut_after")
    if _flag(req, "changing"):
        if "size" not in entry:
            raise ControlError("changing needs size: only a generated body has versions")
        entry["changing"] = True
    for name in ("ranges", "validators"):
        if not _flag(req, name, default=True):
            entry[name] = False


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
            self.requests = {}
            self.turns = {}  # GETs of a path since its mode was set

    def set_mode(self, path, entry):
        with self._lock:
            self.turns.pop(path, None)
            if entry["mode"] == "normal" and len(entry) == 1:
                self.modes.pop(path, None)
            else:
                self.modes[path] = entry

    def mode_for(self, path):
        with self._lock:
            return dict(self.modes.get(path, {"mode": "normal"}))

    def record(self, path, method, request_line, headers, tls=False):
        """Count and log a request. Returns its log entry, which finish() completes,
        and its turn: the number of GETs of the path since its mode was set,
        before this one."""
        merged = {}
        for name, value in headers.items():
            merged[name] = merged[name] + ", " + value if name in merged else value
        logged = {"method": method, "range": merged.get("Range"), "if_range": merged.get("If-Range"),
                  "status": None, "body_bytes": 0, "version": None, "tls": tls}
        with self._lock:
            self.counts[path] = self.counts.get(path, 0) + 1
            self.lines[path] = request_line
            self.headers[path] = merged
            self.requests.setdefault(path, []).append(logged)
            turn = self.turns.get(path, 0)
            if method == "GET":
                self.turns[path] = turn + 1
        return logged, turn

    def finish(self, logged, status, body_bytes, version):
        with self._lock:
            logged.update(status=status, body_bytes=body_bytes, version=version)

    def stats(self):
        with self._lock:
            return {
                "counts": dict(self.counts),
                "last_request_lines": dict(self.lines),
                "headers": {p: dict(h) for p, h in self.headers.items()},
                "modes": {p: dict(m) for p, m in self.modes.items()},
                "requests": {p: [dict(r) for r in log] for p, log in self.requests.items()},
                "body_bytes": {p: sum(r["body_bytes"] for r in log)
                               for p, log in self.requests.items()},
            }
