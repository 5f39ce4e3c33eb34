"""The HTTPS server of the substitute site and its plain-HTTP control listener."""

import argparse
import collections
import json
import os
import re
import signal
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from . import certificate, datacache, favicon, pages, universe

SITE_HOST = "www.vxscreener.example"
BASE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STATIC_DIR = os.path.join(BASE_DIR, "site")

DATA_FILES = {
    "/data/screener/screener.json": "stocks",
    "/screener/data/etf-screener.json": "etfs",
    "/data/search.json": "search",
}
CONTENT_TYPES = {
    ".html": "text/html; charset=utf-8", ".css": "text/css; charset=utf-8",
    ".js": "text/javascript; charset=utf-8", ".json": "application/json",
    ".svg": "image/svg+xml", ".png": "image/png", ".ico": "image/x-icon",
    ".jpg": "image/jpeg", ".jpeg": "image/jpeg", ".webp": "image/webp", ".gif": "image/gif",
}
IMAGE_EXTENSIONS = (".png", ".svg", ".ico", ".jpg", ".jpeg", ".webp", ".gif")
SLUG = r"[a-z0-9][a-z0-9.\-]{0,63}"
ASSET_RE = re.compile(r"^/(css/%s\.css|js/%s\.js|screener/%s\.js|"
                      r"images/[a-z0-9][a-z0-9\-]*\.[a-z]+)$" % (SLUG, SLUG, SLUG))
PRESET_RE = re.compile(r"^/screener/([a-z0-9][a-z0-9\-]*)\.html$")
SYMBOL_RE = re.compile(r"^/([a-z][a-z\-]*)/(%s)\.html$" % SLUG)
REQUEST_MEMORY = 20000
# Served only while the hostile switch is on: a page on the site's own host that tries
# every way past the program's confinement.
HOSTILE_PAGE = "/screener/hostile.html"


class Site:
    """Everything the handlers share: data bytes, presets, switches and the request log."""

    def __init__(self, args, controls, cache_dir):
        if args.no_cache:
            self.universe = universe.Universe(args.stocks, args.etfs, args.columns)
            self.data = {part: universe.to_json_bytes(getattr(self.universe, part))
                         for part in datacache.PARTS}
        else:
            self.universe, self.data = datacache.load(cache_dir, args.stocks, args.etfs,
                                                      args.columns)
        self.favicon = favicon.favicon_bytes()
        self.presets = pages.load_presets(BASE_DIR)
        self.preset_by_slug = {p["slug"]: (kind, p)
                               for kind in ("stocks", "etfs") for p in self.presets[kind]}
        self.controls = controls
        self.requests = collections.deque(maxlen=REQUEST_MEMORY)
        self.log_lock = threading.Lock()
        self.log_file = open(args.request_log, "a", encoding="utf-8") if args.request_log else None

    def log_request(self, method, path, query):
        entry = {"method": method, "path": path, "query": query}
        line = json.dumps(entry, ensure_ascii=False)
        with self.log_lock:
            self.requests.append(entry)
            if self.log_file:
                self.log_file.write(line + "\n")
                self.log_file.flush()

    def close(self):
        with self.log_lock:
            if self.log_file:
                self.log_file.close()
                self.log_file = None

    def page(self, path):
        """(status, body) of an HTML page, or None when the path is no page of the site."""
        c = self.controls
        if path == "/":
            return 200, pages.home(self.presets, self.universe)
        if path in ("/screener.html", "/etf-screener.html"):
            kind = "etfs" if path == "/etf-screener.html" else "stocks"
            return 200, pages.screener(kind, self.presets, None, c.get("hook") == "on",
                                       c.get("null_results_ms"))
        m = PRESET_RE.match(path)
        if m and m.group(1) in self.preset_by_slug:
            kind, preset = self.preset_by_slug[m.group(1)]
            return 200, pages.screener(kind, self.presets, preset, c.get("hook") == "on",
                                       c.get("null_results_ms"))
        if path in ("/graphwick.html", "/pellmoor.html"):
            return 200, pages.product(path[1:-5])
        m = SYMBOL_RE.match(path)
        if m and ".." not in m.group(2):
            section, slug = m.groups()
            if section in ("stocks", "etfs"):
                rec = self.universe.record(section, slug)
                if rec:
                    return 200, pages.symbol(section, slug, rec, self.universe)
            elif section in pages.SECTIONS:
                kind, rec = self.universe.find_slug(slug)
                wanted = pages.SECTIONS[section]
                if rec and (wanted is None or wanted == kind):
                    return 200, pages.symbol(kind, slug, rec, self.universe, section)
        if path.endswith(".html"):
            return 404, pages.not_found(path)
        return None


def is_safe_path(path):
    return not any(bad in path for bad in ("..", "//", "\\", "%"))


class SiteHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "vxscreener"
    sys_version = ""

    def setup(self):
        super().setup()
        self.request.settimeout(60)
        self.request.do_handshake()

    def log_message(self, fmt, *args):
        pass

    def _split(self):
        parts = urllib.parse.urlsplit(self.path)
        return parts.path or "/", parts.query

    def _send(self, status, body, content_type="text/html; charset=utf-8", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.send_header("X-Content-Type-Options", "nosniff")
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def refuse_method(self):
        path, query = self._split()
        self.server.site.log_request(self.command, path, query)
        self._send(405, b"", "text/plain; charset=utf-8", [("Allow", "GET")])

    def __getattr__(self, name):
        # Every method but GET is answered with 405 Method Not Allowed.
        if name.startswith("do_"):
            return self.refuse_method
        raise AttributeError(name)

    def do_GET(self):
        site = self.server.site
        path, query = self._split()
        site.log_request("GET", path, query)
        if site.controls.get("hostile") == "on" and self._hop(query):
            return
        if path == HOSTILE_PAGE and site.controls.get("hostile") == "on":
            self._hostile_page()
            return
        if not is_safe_path(path):
            self._send(400, b"bad path", "text/plain; charset=utf-8")
            return
        if path in DATA_FILES:
            site.controls.wait_before_data()
            if site.controls.stopping.is_set():
                self.close_connection = True
                return
            self._send(200, site.data[DATA_FILES[path]], "application/json")
            return
        if path == "/favicon.ico":
            self._send(200, site.favicon, CONTENT_TYPES[".ico"])
            return
        if ASSET_RE.match(path):
            self._static(path)
            return
        if site.controls.get("pages") == "503" and (path == "/" or path.endswith(".html")):
            self._send(503, pages.unavailable(), extra=[("Retry-After", "30")])
            return
        found = site.page(path)
        if found is None:
            self._send(404, b"not found", "text/plain; charset=utf-8")
        else:
            self._send(found[0], found[1])

    def _hop(self, query):
        """With the hostile page on, any request with hop=URL is redirected there."""
        target = urllib.parse.parse_qs(query).get("hop")
        if not target:
            return False
        self._send(302, b"", "text/plain; charset=utf-8", [("Location", target[0])])
        return True

    def _hostile_page(self):
        c = self.server.site.controls
        foreign = "https://" + pages.HOSTILE_FOREIGN_HOST
        # Hints in the answer's own header, before any script runs.
        link = (f"<{foreign}/header/preconnect>; rel=preconnect, "
                f"<{foreign}/header/preload.js>; rel=preload; as=script, "
                f"<{foreign}/header/prefetch>; rel=prefetch")
        body = pages.hostile(c.get("foreign_tcp"), c.get("foreign_udp"), c.get("hostile_rounds"))
        # An alternative service on a foreign host would carry the site's own requests there
        # over QUIC, past any check of their URLs.
        alt = f'h3="{pages.HOSTILE_QUIC_HOST}:443"; ma=600'
        self._send(200, body, extra=[("Link", link), ("Alt-Svc", alt)])

    def _static(self, path):
        if path.startswith("/images/") and not path.endswith(IMAGE_EXTENSIONS):
            self._send(404, b"not found", "text/plain; charset=utf-8")
            return
        file = os.path.join(STATIC_DIR, *path.lstrip("/").split("/"))
        try:
            with open(file, "rb") as f:
                body = f.read()
        except OSError:
            self._send(404, b"not found", "text/plain; charset=utf-8")
            return
        ext = os.path.splitext(path)[1]
        self._send(200, body, CONTENT_TYPES.get(ext, "application/octet-stream"))


class ControlHandler(BaseHTTPRequestHandler):
    """Plain HTTP, 127.0.0.1 only: /state, /set?key=value..., /reset, /requests."""

    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def _json(self, status, obj):
        body = json.dumps(obj).encode("utf-8") + b"\n"
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        site = self.server.site
        parts = urllib.parse.urlsplit(self.path)
        pairs = urllib.parse.parse_qsl(parts.query, keep_blank_values=True)
        if parts.path == "/state":
            self._json(200, site.controls.snapshot())
        elif parts.path == "/set":
            try:
                self._json(200, site.controls.update(pairs))
            except ValueError as e:
                self._json(400, {"error": str(e)})
        elif parts.path == "/reset":
            self._json(200, site.controls.reset())
        elif parts.path == "/requests":
            with site.log_lock:
                entries = list(site.requests)
                if ("clear", "1") in pairs:
                    site.requests.clear()
            self._json(200, entries)
        else:
            self._json(404, {"error": "unknown control " + parts.path})

    do_POST = do_GET


class SiteServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, handler, site, ssl_context=None):
        self.site = site
        self.ssl_context = ssl_context
        super().__init__(address, handler)

    def get_request(self):
        sock, addr = self.socket.accept()
        if self.ssl_context is None:
            return sock, addr
        # The handshake runs in the request's own thread (SiteHandler.setup), so a slow
        # client cannot hold up the accept loop.
        return self.ssl_context.wrap_socket(sock, server_side=True,
                                            do_handshake_on_connect=False), addr

    def handle_error(self, request, client_address):
        # Browsers drop connections and refuse certificates all the time; that is no error
        # of the server.
        kind = sys.exc_info()[0]
        if kind is not None and issubclass(kind, (ConnectionError, ssl.SSLError, TimeoutError)):
            return
        super().handle_error(request, client_address)


def write_atomically(path, text):
    tmp = f"{path}.tmp{os.getpid()}"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def parse_args(argv):
    p = argparse.ArgumentParser(prog="serve", description="Serve the substitute screener site.")
    p.add_argument("--port", type=int, default=0, help="HTTPS port (0: any free port)")
    p.add_argument("--control-port", type=int, default=0,
                   help="port of the plain-HTTP control listener (0: any free port)")
    p.add_argument("--info-file", help="also write the start-up JSON line to this file")
    p.add_argument("--request-log", help="append every request as one JSON line to this file")
    p.add_argument("--cert-dir", default=None,
                   help="folder of the site certificate and the cached data files "
                        "(default: a folder in the user cache)")
    p.add_argument("--no-cache", action="store_true",
                   help="generate the data afresh and do not keep it")
    p.add_argument("--stocks", type=int, default=6000, help="number of stocks (1-50000)")
    p.add_argument("--etfs", type=int, default=3000, help="number of ETFs (1-50000)")
    p.add_argument("--columns", type=int, default=0,
                   help="columns per screener, filled up with extra metrics (at most 64)")
    args = p.parse_args(argv)
    for name, lo, hi in (("stocks", 1, universe.MAX_ROWS), ("etfs", 1, universe.MAX_ROWS),
                         ("columns", 0, universe.MAX_COLUMNS), ("port", 0, 65535),
                         ("control_port", 0, 65535)):
        if not lo <= getattr(args, name) <= hi:
            p.error(f"--{name.replace('_', '-')} must be between {lo} and {hi}")
    return args


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    from . import controls as controls_module
    controls = controls_module.Controls()
    cert_dir = args.cert_dir or certificate.default_cert_dir()
    cert, key = certificate.ensure_certificate(cert_dir, SITE_HOST)
    spki = certificate.spki_sha256(cert)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    site = Site(args, controls, os.path.join(cert_dir, "data"))
    try:
        https = SiteServer(("127.0.0.1", args.port), SiteHandler, site, context)
        control = SiteServer(("127.0.0.1", args.control_port), ControlHandler, site)
    except OSError as e:
        print(f"serve: cannot listen on 127.0.0.1: {e.strerror}", file=sys.stderr)
        return 1
    info = json.dumps({"port": https.server_address[1], "spki": spki,
                       "control_port": control.server_address[1]})
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2},
                                daemon=True) for s in (https, control)]
    for t in threads:
        t.start()
    if args.info_file:
        write_atomically(args.info_file, info + "\n")
    print(info, flush=True)
    stop.wait()
    controls.stop()
    for s in (https, control):
        s.shutdown()
        s.server_close()
    site.close()
    return 0
