"""Authenticode-signed stand-ins for the tests of the check the program makes
before it starts a downloaded install.exe or Tarvik.exe: a test code-signing
root, two publishers it certifies, and signed and tampered copies of a program.

Wine 8's WinVerifyTrust checks that the signature is well formed and that it
covers the file's digest, but not whether its root is trusted. Real Windows
also checks the chain up to a trusted root, which is why the root exists and
is trusted in the test prefix (root.der, added with trust_ca.exe)."""

import subprocess
from pathlib import Path

import pefile

import wine_build
from make_test_ca import CA_CONFIG, ensure, export_der, issue, still_good

FOLDER = wine_build.ROOT / "build" / "test-ca" / "code-signing"
OSSLSIGNCODE = "/usr/bin/osslsigncode"
# Each test publisher, by the name of its files, and its certificate's subject.
SUBJECTS = {"publisher": "/O=OrvaneSetup tests/CN=Orvane Test Publisher",
            "other": "/O=OrvaneSetup tests/CN=Other Test Publisher"}
FILES = ("root.pem", "root.key", "root.der", "publisher.pem", "publisher.key",
         "publisher-chain.pem", "other.pem", "other.key", "other-chain.pem")
CONFIG = CA_CONFIG + """\
[ ext_code_signing ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
"""


def _is_valid(folder):
    return still_good(folder, CONFIG, FILES, ("root",) + tuple(SUBJECTS),
                      (["-CAfile", "root.pem", "root.pem"] + [who + ".pem" for who in SUBJECTS],))


def _generate(work):
    issue(work, "root", "/O=OrvaneSetup tests/CN=Orvane Test Code Signing Root", "ext_ca")
    export_der(work, "root")
    work = Path(work)
    for who, subject in SUBJECTS.items():
        issue(work, who, subject, "ext_code_signing", issuer="root")
        # The whole chain goes into the signature, as a real publisher's does.
        (work / f"{who}-chain.pem").write_bytes(
            (work / f"{who}.pem").read_bytes() + (work / "root.pem").read_bytes())


def ensure_code_signing(folder=FOLDER):
    """Make (or reuse while still valid) the files in folder; return
    {file name: absolute path}: root.pem / root.der (the root to trust),
    and for "publisher" and "other": WHO.pem, WHO.key, WHO-chain.pem."""
    return ensure(folder, CONFIG, FILES, _is_valid, _generate)


def sign(exe_in, exe_out, who, folder=FOLDER):
    """Writes exe_out: exe_in signed (SHA-256) by the test publisher who,
    "publisher" (CN Orvane Test Publisher) or "other" (CN Other Test Publisher)."""
    files = ensure_code_signing(folder)
    Path(exe_out).unlink(missing_ok=True)  # osslsigncode will not write over a file
    subprocess.run([OSSLSIGNCODE, "sign", "-certs", files[who + "-chain.pem"],
                    "-key", files[who + ".key"], "-h", "sha256", "-n", "Orvane test program",
                    "-in", str(exe_in), "-out", str(exe_out)],
                   check=True, timeout=60, stdin=subprocess.DEVNULL, capture_output=True)
    return exe_out


def tamper(signed_in, out):
    """Writes out: signed_in with one byte changed in the middle of its first
    section's raw data, which the Authenticode digest covers, so the signature
    stays well formed but no longer matches the file."""
    data = bytearray(Path(signed_in).read_bytes())
    section = next(s for s in pefile.PE(data=bytes(data), fast_load=True).sections
                   if s.SizeOfRawData)
    data[section.PointerToRawData + section.SizeOfRawData // 2] ^= 0xFF
    Path(out).write_bytes(data)
    return out
