"""The site's self-signed certificate, made once with the openssl command and reused.

The certificate lives in a folder outside the repository. Several servers may start at the
same moment (parallel tests), so creation happens under a lock file and the finished
files are moved into place, never written where a reader could see half of them.
"""

import base64
import fcntl
import hashlib
import os
import subprocess
import tempfile

CERT_NAME = "site-cert.pem"
KEY_NAME = "site-key.pem"


def default_cert_dir():
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(cache, "velquist-demo-site")


def _make(cert_dir, host):
    with tempfile.TemporaryDirectory(dir=cert_dir) as tmp:
        cert = os.path.join(tmp, CERT_NAME)
        key = os.path.join(tmp, KEY_NAME)
        subprocess.run(
            ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
             "-nodes", "-days", "3650", "-subj", "/CN=" + host,
             "-addext", "subjectAltName=DNS:" + host,
             "-addext", "extendedKeyUsage=serverAuth",
             "-keyout", key, "-out", cert],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        os.chmod(key, 0o600)
        os.replace(key, os.path.join(cert_dir, KEY_NAME))
        os.replace(cert, os.path.join(cert_dir, CERT_NAME))


def _has_host(cert_path, host):
    out = subprocess.run(["openssl", "x509", "-in", cert_path, "-noout", "-subject"],
                         check=False, capture_output=True, text=True)
    return out.returncode == 0 and ("CN = " + host) in out.stdout


def ensure_certificate(cert_dir, host):
    """Returns (cert path, key path), making the pair when it is missing or for another host."""
    os.makedirs(cert_dir, mode=0o700, exist_ok=True)
    cert = os.path.join(cert_dir, CERT_NAME)
    key = os.path.join(cert_dir, KEY_NAME)
    with open(os.path.join(cert_dir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (os.path.isfile(cert) and os.path.isfile(key) and _has_host(cert, host)):
            _make(cert_dir, host)
    return cert, key


def spki_sha256(cert_path):
    """Base64 SHA-256 of the certificate's SubjectPublicKeyInfo, as Chromium's
    --ignore-certificate-errors-spki-list expects it."""
    pub = subprocess.run(["openssl", "x509", "-in", cert_path, "-noout", "-pubkey"],
                         check=True, capture_output=True).stdout
    der = subprocess.run(["openssl", "pkey", "-pubin", "-outform", "DER"], input=pub,
                         check=True, capture_output=True).stdout
    return base64.b64encode(hashlib.sha256(der).digest()).decode("ascii")
