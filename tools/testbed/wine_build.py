"""Which Windows build the demo, the tests and the benchmark drive under Wine,
decided in this one place, once per run.

The shipped program is 32-bit, and Wine runs it with its 32-bit loader. Some
kernels run no 32-bit programs at all; there that loader can't start, and
the 64-bit build of the same sources is driven through Wine's 64-bit loader
instead, in a prefix of its own (a 32-bit-capable prefix and a 64-bit-only
one must never be mixed). ORVANE_WINE_ARCH=64 forces that path anywhere.

Run as a script, it decides for a shell script and prints shell assignments:
the build's preset, and the line that says which build is driven and why.
Everything started from that script inherits the decision."""

import os
import shlex
import subprocess
import sys
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
LOADER32 = "/usr/lib/wine/wine"
LOADER64 = "/usr/lib/wine/wine64"
# Carries a decision made by a script to everything it starts: "BITS REASON".
DECIDED = "ORVANE_WINE_DECIDED"
FORCE = "ORVANE_WINE_ARCH"


@dataclass(frozen=True)
class WineBuild:
    bits: int
    reason: str

    @property
    def preset(self):
        return "windows" if self.bits == 32 else "windows64"

    @property
    def build(self):
        return ROOT / "build" / self.preset

    def prefix(self, name):
        """The prefix called name under build/, kept apart for each loader."""
        return ROOT / "build" / (name if self.bits == 32 else f"{name}64")

    @property
    def loader(self):
        # The 32-bit path goes through Debian's wine wrapper as before; the
        # wrapper picks the 32-bit loader, which also runs 64-bit helpers.
        return ["wine"] if self.bits == 32 else [LOADER64]

    def env(self):
        return {} if self.bits == 32 else {"WINELOADER": LOADER64}

    def says(self, who):
        return f"{who} drive the {self.bits}-bit build: {self.reason}"


def runs_32bit_programs():
    try:
        return subprocess.run([LOADER32, "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def decide(environ=os.environ):
    decided = environ.get(DECIDED)
    if decided:
        bits, reason = decided.split(" ", 1)
        return WineBuild(int(bits), reason)
    forced = environ.get(FORCE, "")
    if forced in ("32", "64"):
        return WineBuild(int(forced), f"forced by {FORCE}={forced}")
    if forced:
        raise SystemExit(f"{FORCE} must be 32 or 64, not {forced!r}")
    if runs_32bit_programs():
        return WineBuild(32, "this kernel runs 32-bit programs")
    if os.path.exists(LOADER32):
        return WineBuild(64, "this kernel runs no 32-bit programs")
    return WineBuild(64, "Wine's 32-bit loader is not installed")


def main(who):
    chosen = decide()
    print(f"export {DECIDED}={shlex.quote(f'{chosen.bits} {chosen.reason}')}")
    print(f"wine_preset={chosen.preset}")
    print(f"wine_says={shlex.quote(chosen.says(who))}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "Windows tests"))
