#!/usr/bin/python3
"""Makes, with openssl, the TLS material for the HTTPS tests: a test CA, a server
certificate it signs (localhost / 127.0.0.1) and a self-signed "untrusted" one.

Usage: make_test_ca.py OUTDIR   (quiet; reuses what is there while it is still valid)
Files: ca.pem ca.key ca.der server.pem server.key untrusted.pem untrusted.key
"""

import datetime
import fcntl
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

OPENSSL = "/usr/bin/openssl" if os.path.exists("/usr/bin/openssl") else "openssl"
VALID_DAYS = 30
# Reuse only certificates that stay valid at least this long, so a test run that
# starts on a reused set cannot see it expire part way through.
MIN_REMAINING_SECONDS = 2 * 86400
FILES = ("ca.pem", "ca.key", "ca.der", "server.pem", "server.key", "untrusted.pem", "untrusted.key")

# The openssl "ca" settings and the CA extensions, shared with code_signing.py.
CA_CONFIG = """\
[ ca ]
default_ca = testca

[ testca ]
dir = .
database = $dir/index.txt
new_certs_dir = $dir
rand_serial = yes
default_md = sha256
policy = policy_any
unique_subject = no
copy_extensions = none
email_in_dn = no

[ policy_any ]
organizationName = optional
commonName = supplied

[ req ]
distinguished_name = req_dn
prompt = no

[ req_dn ]
CN = unused

[ ext_ca ]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash

"""
CONFIG = CA_CONFIG + """\
# Wine's TLS rejects a certificate naming the host only by IP address, so the
# name "localhost" is what clients connect with; the IP is there for other tools.
[ ext_server ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost, IP:127.0.0.1
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
"""


def _tag(config):
    return hashlib.sha256(config.encode()).hexdigest()[:16]


def _run(args, cwd, **kw):
    return subprocess.run([OPENSSL] + args, cwd=cwd, check=True, timeout=60,
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, **kw).stdout


def _ok(args, cwd):
    try:
        _run(args, cwd)
        return True
    except (subprocess.CalledProcessError, subprocess.TimeoutExpired):
        return False


def _same_key(cert, key, cwd):
    try:
        return _run(["x509", "-noout", "-pubkey", "-in", cert], cwd) == \
            _run(["pkey", "-pubout", "-in", key], cwd)
    except (subprocess.CalledProcessError, subprocess.TimeoutExpired):
        return False


def still_good(outdir, config, files, names, verifications):
    """True when every file is present, made from config, each name.pem of names
    matches name.key and stays valid, and every `openssl verify` passes."""
    if not all(os.path.isfile(os.path.join(outdir, f)) for f in files):
        return False
    try:
        with open(os.path.join(outdir, ".config-tag")) as f:
            if f.read().strip() != _tag(config):
                return False
    except OSError:
        return False
    for name in names:
        if not (_ok(["x509", "-noout", "-checkend", str(MIN_REMAINING_SECONDS),
                     "-in", name + ".pem"], outdir)
                and _same_key(name + ".pem", name + ".key", outdir)):
            return False
    # verify also checks that the certificates are already valid (not before now).
    return all(_ok(["verify"] + args, outdir) for args in verifications)


def issue(work, name, subject, extensions, issuer=None):
    """name.key and name.pem in work: an RSA key and its certificate, signed by
    issuer.pem / issuer.key, or by itself when issuer is None."""
    # From yesterday, so a client whose clock runs a little behind still accepts it.
    start = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(days=1)
    end = start + datetime.timedelta(days=VALID_DAYS)
    _run(["genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048",
          "-out", name + ".key"], work)
    _run(["req", "-new", "-config", "openssl.cnf", "-key", name + ".key",
          "-subj", subject, "-out", name + ".csr"], work)
    signer = (["-cert", issuer + ".pem", "-keyfile", issuer + ".key"] if issuer
              else ["-selfsign", "-keyfile", name + ".key"])
    _run(["ca", "-batch", "-notext", "-config", "openssl.cnf",
          "-startdate", start.strftime("%y%m%d%H%M%SZ"), "-enddate", end.strftime("%y%m%d%H%M%SZ")]
         + signer + ["-in", name + ".csr", "-extensions", extensions, "-out", name + ".pem"], work)


def export_der(work, name):
    """name.der in work: name.pem in the form Windows' certificate stores take."""
    _run(["x509", "-in", name + ".pem", "-outform", "DER", "-out", name + ".der"], work)


def ensure(outdir, config, files, is_valid, generate):
    """Unless is_valid(outdir), run generate(work) in a fresh folder holding
    config as openssl.cnf and move its files into outdir; return
    {file name: absolute path}."""
    outdir = os.path.abspath(outdir)
    os.makedirs(outdir, exist_ok=True)
    # Serialise concurrent runs into one folder; files are moved in complete.
    with open(os.path.join(outdir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not is_valid(outdir):
            work = tempfile.mkdtemp(prefix=".gen-", dir=outdir)
            try:
                with open(os.path.join(work, "openssl.cnf"), "w") as f:
                    f.write(config)
                open(os.path.join(work, "index.txt"), "w").close()
                generate(work)
                with open(os.path.join(work, ".config-tag"), "w") as f:
                    f.write(_tag(config) + "\n")
                for name in files + (".config-tag",):
                    os.replace(os.path.join(work, name), os.path.join(outdir, name))
            finally:
                shutil.rmtree(work, ignore_errors=True)
    return {name: os.path.join(outdir, name) for name in files}


def is_valid(outdir):
    return still_good(outdir, CONFIG, FILES, ("ca", "server", "untrusted"),
                      (["-CAfile", "ca.pem", "ca.pem", "server.pem"],
                       ["-CAfile", "untrusted.pem", "-partial_chain", "untrusted.pem"]))


def _generate(work):
    issue(work, "ca", "/O=OrvaneSetup tests/CN=OrvaneSetup Test CA", "ext_ca")
    export_der(work, "ca")
    issue(work, "server", "/O=OrvaneSetup tests/CN=localhost", "ext_server", issuer="ca")
    # Same names as the good server certificate, so the only fault is the trust.
    issue(work, "untrusted", "/O=Untrusted test server/CN=localhost", "ext_server")


def ensure_test_ca(outdir):
    """Make (or reuse) the files in outdir; return {file name: absolute path}."""
    return ensure(outdir, CONFIG, FILES, is_valid, _generate)


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        sys.stderr.write("usage: make_test_ca.py OUTDIR\n")
        return 2
    try:
        ensure_test_ca(argv[1])
    except subprocess.CalledProcessError as e:
        sys.stderr.write(f"openssl failed: {' '.join(e.cmd)}\n{e.stderr.decode(errors='replace')}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
