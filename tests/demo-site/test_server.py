"""The HTTPS server: start-up line, certificate, GET-only answers, request log, the shapes
of its pages, the test controls and a clean stop on SIGTERM."""

import base64
import hashlib
import html.parser
import http.client
import json
import os
import re
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SITE = os.path.normpath(os.path.join(HERE, "..", "..", "demo-site"))
SERVE = os.path.join(SITE, "serve")
HOST = "www.vxscreener.example"
sys.path.insert(0, SITE)

from vxsite import certificate  # noqa: E402

IMAGE_EXTENSIONS = (".png", ".svg", ".ico", ".jpg", ".jpeg", ".webp", ".gif")
DATA_FILES = ("/data/screener/screener.json", "/screener/data/etf-screener.json",
              "/data/search.json")
SECTION_LINK = re.compile(r"^/[a-z][a-z\-]*/[a-z0-9][a-z0-9.\-]*\.html$")


def valid_slug(text, allow_dot):
    if not 1 <= len(text) <= 64 or ".." in text:
        return False
    for i, ch in enumerate(text):
        if not ("a" <= ch <= "z" or "0" <= ch <= "9" or
                (i > 0 and (ch == "-" or (allow_dot and ch == ".")))):
            return False
    return True


def static_asset_path(path):
    """The embedded browser's rule for style sheets, scripts and images of the site."""
    for section, ext in (("css", ".css"), ("js", ".js"), ("screener", ".js")):
        prefix = f"/{section}/"
        if path.startswith(prefix) and path.endswith(ext):
            slug = path[len(prefix):-len(ext)]
            if "/" not in slug and valid_slug(slug, True):
                return True
    return path == "/favicon.ico" or (path.startswith("/images/") and
                                      path.lower().endswith(IMAGE_EXTENSIONS))


class Refs(html.parser.HTMLParser):
    """Collects the resources a page loads and the links it holds."""

    def __init__(self):
        super().__init__()
        self.resources, self.links, self.tab_links = [], [], []
        self.in_tabs = 0
        self.root_attrs = {}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "html":
            self.root_attrs = a
        if tag == "nav" and "stock-tabs" in (a.get("class") or "").split():
            self.in_tabs += 1
        if tag == "script" and a.get("src"):
            self.resources.append(a["src"])
        elif tag == "link" and a.get("href"):
            self.resources.append(a["href"])
        elif tag == "img" and a.get("src"):
            self.resources.append(a["src"])
        elif tag == "a" and a.get("href"):
            self.links.append(a["href"])
            if self.in_tabs:
                self.tab_links.append(a["href"])

    def handle_endtag(self, tag):
        if tag == "nav" and self.in_tabs:
            self.in_tabs -= 1


def parse(body):
    p = Refs()
    p.feed(body.decode("utf-8"))
    return p


def load_presets():
    with open(os.path.join(SITE, "presets.json"), encoding="utf-8") as f:
        return json.load(f)


def start_server(tmp, *extra):
    args = [sys.executable, SERVE, "--cert-dir", os.path.join(tmp, "cert"),
            "--info-file", os.path.join(tmp, "info.json"),
            "--request-log", os.path.join(tmp, "requests.log"),
            "--stocks", "300", "--etfs", "200"] + list(extra)
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    line = proc.stdout.readline()
    if not line:
        raise RuntimeError("server did not start: " + proc.stderr.read().decode())
    return proc, json.loads(line)


class Client:
    def __init__(self, tmp, info):
        self.port = info["port"]
        self.control = info["control_port"]
        self.cert = os.path.join(tmp, "cert", certificate.CERT_NAME)
        self.ctx = ssl.create_default_context(cafile=self.cert)

    def request(self, path, method="GET", timeout=20):
        conn = http.client.HTTPSConnection(HOST, self.port, context=self.ctx, timeout=timeout)
        # Connect to the local server while speaking to it (SNI, certificate check) as HOST.
        conn._create_connection = lambda addr, *a, **k: socket.create_connection(
            ("127.0.0.1", self.port), *a, **k)
        try:
            conn.request(method, path)
            r = conn.getresponse()
            return r.status, dict(r.getheaders()), r.read()
        finally:
            conn.close()

    def ctl(self, path):
        conn = http.client.HTTPConnection("127.0.0.1", self.control, timeout=20)
        try:
            conn.request("GET", path)
            r = conn.getresponse()
            return r.status, json.loads(r.read())
        finally:
            conn.close()


class ServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmpdir = tempfile.TemporaryDirectory()
        cls.tmp = cls.tmpdir.name
        cls.proc, cls.info = start_server(cls.tmp)
        cls.c = Client(cls.tmp, cls.info)

    @classmethod
    def tearDownClass(cls):
        cls.proc.terminate()
        cls.proc.wait(10)
        cls.proc.stdout.close()
        cls.proc.stderr.close()
        cls.tmpdir.cleanup()

    def setUp(self):
        self.c.ctl("/reset")

    def get_ok(self, path):
        status, headers, body = self.c.request(path)
        self.assertEqual(status, 200, path)
        return headers, body

    # ---- start-up and certificate ------------------------------------------------------

    def test_startup_line_matches_the_info_file(self):
        self.assertEqual(set(self.info), {"port", "spki", "control_port"})
        with open(os.path.join(self.tmp, "info.json")) as f:
            self.assertEqual(json.loads(f.read()), self.info)
        self.assertNotEqual(self.info["port"], self.info["control_port"])

    def test_spki_is_the_hash_of_the_served_public_key(self):
        pem = subprocess.run(["openssl", "x509", "-in", self.c.cert, "-noout", "-pubkey"],
                             check=True, capture_output=True, text=True).stdout
        der = base64.b64decode("".join(l for l in pem.splitlines() if "-----" not in l))
        self.assertEqual(self.info["spki"],
                         base64.b64encode(hashlib.sha256(der).digest()).decode())
        with socket.create_connection(("127.0.0.1", self.c.port)) as raw:
            with self.c.ctx.wrap_socket(raw, server_hostname=HOST) as tls:
                served = tls.getpeercert(binary_form=True)
        with open(self.c.cert) as f:
            self.assertEqual(served, ssl.PEM_cert_to_DER_cert(f.read()))

    def test_certificate_does_not_name_other_hosts(self):
        ctx = ssl.create_default_context(cafile=self.c.cert)
        with socket.create_connection(("127.0.0.1", self.c.port)) as raw:
            with self.assertRaises(ssl.SSLCertVerificationError):
                ctx.wrap_socket(raw, server_hostname="vxscreener.example")

    def test_certificate_is_reused_on_the_next_start(self):
        with tempfile.TemporaryDirectory() as other:
            os.symlink(os.path.join(self.tmp, "cert"), os.path.join(other, "cert"))
            proc, info = start_server(other, "--stocks", "1", "--etfs", "1")
            proc.terminate()
            self.assertEqual(proc.wait(10), 0)
            proc.stdout.close()
            proc.stderr.close()
        self.assertEqual(info["spki"], self.info["spki"])

    def test_default_certificate_folder_is_in_the_user_cache(self):
        old = os.environ.get("XDG_CACHE_HOME")
        os.environ["XDG_CACHE_HOME"] = "/somewhere/cache"
        try:
            self.assertEqual(certificate.default_cert_dir(), "/somewhere/cache/velquist-demo-site")
        finally:
            if old is None:
                del os.environ["XDG_CACHE_HOME"]
            else:
                os.environ["XDG_CACHE_HOME"] = old

    # ---- methods and log ---------------------------------------------------------------

    def test_only_get_is_served(self):
        for method in ("POST", "PUT", "DELETE", "HEAD", "OPTIONS", "PATCH", "BREW"):
            status, headers, body = self.c.request("/screener.html", method)
            self.assertEqual(status, 405, method)
            self.assertEqual(headers.get("Allow"), "GET")
            self.assertEqual(body, b"")
        status, _, _ = self.c.request("/data/search.json", "POST")
        self.assertEqual(status, 405)

    def test_every_request_is_logged_with_method_path_and_query(self):
        self.c.request("/data/search.json?v=17&x=a%20b")
        self.c.request("/screener.html?src=t", "DELETE")
        with open(os.path.join(self.tmp, "requests.log")) as f:
            entries = [json.loads(line) for line in f]
        self.assertIn({"method": "GET", "path": "/data/search.json", "query": "v=17&x=a%20b"},
                      entries)
        self.assertIn({"method": "DELETE", "path": "/screener.html", "query": "src=t"}, entries)
        status, seen = self.c.ctl("/requests")
        self.assertEqual(status, 200)
        self.assertIn({"method": "DELETE", "path": "/screener.html", "query": "src=t"}, seen)
        self.c.ctl("/requests?clear=1")
        self.assertEqual(self.c.ctl("/requests")[1], [])

    # ---- pages and files ---------------------------------------------------------------

    def test_data_files(self):
        sizes = {"/data/screener/screener.json": 300, "/screener/data/etf-screener.json": 200}
        for path in DATA_FILES:
            headers, body = self.get_ok(path + "?cache=1")
            self.assertEqual(headers["Content-Type"], "application/json")
            data = json.loads(body)
            self.assertEqual(data["asof"], "2025-06-13")
            if path in sizes:
                self.assertEqual(len(data["rows"]), sizes[path])
        self.assertEqual(len(json.loads(self.get_ok(DATA_FILES[2])[1])["symbols"]), 500)
        for path in ("/data/other.json", "/data/screener/other.json", "/screener/data/x.json"):
            self.assertEqual(self.c.request(path)[0], 404, path)

    def test_hostile_paths_are_not_served(self):
        for path in ("/css/../vxsite/server.py", "/css/%2e%2e/site.css", "/css//site.css",
                     "/js/..%2fserve", "/images/../../serve", "/screener/app.py",
                     "/vxsite/server.py", "/presets.json", "/site/css/site.css",
                     "/images/logo.txt", "/CSS/site.css", "/fonts/vx-sans.woff2"):
            status, _, body = self.c.request(path)
            self.assertIn(status, (400, 404), path)
            self.assertNotIn(b"import", body)

    def test_all_pages_are_served(self):
        presets = load_presets()
        paths = ["/", "/screener.html", "/etf-screener.html", "/graphwick.html", "/pellmoor.html"]
        paths += [f"/screener/{p['slug']}.html" for k in ("stocks", "etfs") for p in presets[k]]
        self.assertEqual(len(paths), 5 + 28)
        for path in paths:
            headers, body = self.get_ok(path)
            self.assertTrue(headers["Content-Type"].startswith("text/html"), path)
            self.assertIn(b"<title>", body)
        self.assertEqual(self.c.request("/screener/no-such-preset.html")[0], 404)
        self.assertEqual(self.c.request("/stocks/nosuch.html")[0], 404)

    def test_preset_pages_carry_their_filters_and_kind(self):
        presets = load_presets()
        for kind in ("stocks", "etfs"):
            for p in presets[kind]:
                body = self.get_ok(f"/screener/{p['slug']}.html")[1].decode()
                self.assertIn(f'data-kind="{kind}"', body)
                self.assertIn(f'data-preset="{p["state"].replace("&", "&amp;")}"', body)

    def test_pages_load_only_what_the_program_lets_through(self):
        """Every resource of every kind of page is a site asset of an allowed shape, except
        the screener's one tag from another host and the one web font of the style sheet."""
        foreign, fonts = [], []
        pages = ["/", "/screener.html", "/etf-screener.html", "/screener/etf-crypto.html",
                 "/graphwick.html", "/stocks/" + self.first_symbol("stocks") + ".html"]
        for page in pages:
            refs = parse(self.get_ok(page)[1])
            for ref in refs.resources:
                if ref.startswith("https://"):
                    self.assertNotIn(HOST, ref)
                    foreign.append((page, ref))
                    continue
                self.assertTrue(static_asset_path(ref), f"{page} loads {ref}")
                status, headers, body = self.c.request(ref)
                self.assertEqual(status, 200, ref)
                if ref.endswith(".css"):
                    for url in re.findall(r"url\(\s*[\"']?([^\"')]+)", body.decode()):
                        if not static_asset_path(url):
                            fonts.append(url)
        self.assertEqual({f for _, f in foreign}, {"https://tags.vxmetrics.example/v2/tag.js"})
        self.assertTrue(all("screener" in p for p, _ in foreign))
        self.assertEqual(set(fonts), {"/fonts/vx-sans.woff2"})
        self.assertEqual(self.c.request("/fonts/vx-sans.woff2")[0], 404)

    def first_symbol(self, kind):
        path = DATA_FILES[0] if kind == "stocks" else DATA_FILES[1]
        return json.loads(self.get_ok(path)[1])["rows"][0][0].lower()

    def test_symbol_pages_list_their_section_pages(self):
        for kind in ("stocks", "etfs"):
            slug = self.first_symbol(kind)
            refs = parse(self.get_ok(f"/{kind}/{slug}.html")[1])
            self.assertGreaterEqual(len(refs.tab_links), 4)
            self.assertIn(f"/{kind}/{slug}.html", refs.tab_links)
            for link in refs.tab_links:
                self.assertRegex(link, SECTION_LINK)
                section = link.split("/")[1]
                self.assertNotRegex(section, r"\d")
                sub = parse(self.get_ok(link)[1])
                self.assertEqual(sub.tab_links, refs.tab_links, link)
        self.assertEqual(self.c.request("/holdings/" + self.first_symbol("stocks") + ".html")[0],
                         404)

    def test_app_mode_hides_the_site_chrome(self):
        css = self.get_ok("/css/site.css")[1].decode()
        rule = re.search(r"((?:html\.vx-app [^,{]+,\s*)*html\.vx-app [^,{]+)\{([^}]*)\}", css)
        self.assertIsNotNone(rule)
        self.assertIn("display: none", rule.group(2))
        hidden = {s.strip() for s in rule.group(1).split(",")}
        self.assertTrue({"html.vx-app .site-header", "html.vx-app .site-nav"} <= hidden)
        self.assertIn("prefers-color-scheme: dark", css)

    def test_favicon_is_an_icon(self):
        headers, body = self.get_ok("/favicon.ico")
        self.assertEqual(headers["Content-Type"], "image/x-icon")
        self.assertEqual(body[:4], b"\x00\x00\x01\x00")
        self.assertIn(b"PNG", body[:64])

    # ---- controls ----------------------------------------------------------------------

    def test_pages_503(self):
        status, state = self.c.ctl("/set?pages=503")
        self.assertEqual((status, state["pages"]), (200, "503"))
        for path in ("/", "/screener.html", "/screener/etf-bond.html", "/stocks/x.html"):
            self.assertEqual(self.c.request(path)[0], 503, path)
        self.assertEqual(self.c.request(DATA_FILES[0])[0], 200)
        self.assertEqual(self.c.request("/css/site.css")[0], 200)
        self.c.ctl("/reset")
        self.assertEqual(self.c.request("/screener.html")[0], 200)

    def test_hook_off_and_null_results(self):
        self.c.ctl("/set?hook=off&null_results_ms=4000")
        root = parse(self.get_ok("/etf-screener.html")[1]).root_attrs
        self.assertEqual(root.get("data-vx-hook"), "off")
        self.assertEqual(root.get("data-vx-null-ms"), "4000")
        self.c.ctl("/reset")
        root = parse(self.get_ok("/etf-screener.html")[1]).root_attrs
        self.assertNotIn("data-vx-hook", root)
        self.assertNotIn("data-vx-null-ms", root)

    def test_hostile_page_and_redirects_only_while_switched_on(self):
        self.assertEqual(self.c.request("/screener/hostile.html")[0], 404)
        self.assertEqual(self.c.request("/data/search.json?hop=%2Fprivate%2Fx")[0], 200)
        status, state = self.c.ctl("/set?hostile=on&foreign_tcp=4001&foreign_udp=4002"
                                   "&hostile_rounds=3")
        self.assertEqual((status, state["hostile"], state["hostile_rounds"]), (200, "on", 3))
        status, headers, body = self.c.request("/screener/hostile.html")
        self.assertEqual(status, 200)
        self.assertIn("cdn.foreign.example", headers["Link"])
        self.assertIn("quic.foreign.example", headers["Alt-Svc"])
        config = re.search(rb'id="hostile-config">([^<]*)<', body).group(1)
        self.assertEqual(json.loads(config), {"tcp": 4001, "udp": 4002, "rounds": 3})
        for path in ("/js/hostile-common.js", "/js/hostile.js"):
            self.assertIn(path.encode(), body)
            self.assertEqual(self.c.request(path)[0], 200, path)
        status, headers, _ = self.c.request("/js/search.js?hop=https%3A%2F%2Fcdn.foreign.example%2Fx")
        self.assertEqual((status, headers["Location"]), (302, "https://cdn.foreign.example/x"))
        for query in ("hostile=maybe", "foreign_tcp=0", "foreign_udp=70000", "hostile_rounds=6"):
            self.assertEqual(self.c.ctl("/set?" + query)[0], 400, query)
        self.c.ctl("/reset")
        self.assertEqual(self.c.request("/screener/hostile.html")[0], 404)

    def test_bad_switches_change_nothing(self):
        for query in ("pages=404", "hook=maybe", "data_delay_ms=-1", "data_delay_ms=1e3",
                      "data_stall=2", "nosuch=1", "hook=off&pages=500"):
            status, answer = self.c.ctl("/set?" + query)
            self.assertEqual(status, 400, query)
            self.assertIn("error", answer)
        self.assertEqual(self.c.ctl("/state")[1]["hook"], "on")

    def test_data_delay(self):
        self.c.ctl("/set?data_delay_ms=400")
        start = time.monotonic()
        self.assertEqual(self.c.request(DATA_FILES[2])[0], 200)
        self.assertGreaterEqual(time.monotonic() - start, 0.4)

    def test_data_stall_holds_until_released(self):
        self.c.ctl("/set?data_stall=1")
        result = {}

        def fetch():
            result["status"] = self.c.request(DATA_FILES[1], timeout=60)[0]
        t = threading.Thread(target=fetch)
        t.start()
        t.join(1.0)
        self.assertTrue(t.is_alive(), "a stalled data request must not be answered")
        self.assertEqual(self.c.request("/etf-screener.html")[0], 200, "pages still load")
        self.c.ctl("/set?data_stall=0")
        t.join(20)
        self.assertFalse(t.is_alive())
        self.assertEqual(result["status"], 200)


class StopTest(unittest.TestCase):
    def test_sigterm_stops_cleanly_even_with_a_stalled_request(self):
        with tempfile.TemporaryDirectory() as tmp:
            proc, info = start_server(tmp, "--stocks", "10", "--etfs", "10")
            try:
                c = Client(tmp, info)
                c.ctl("/set?data_stall=1")
                t = threading.Thread(target=lambda: self.swallow(c.request, DATA_FILES[0]),
                                     daemon=True)
                t.start()
                t.join(0.5)
                proc.send_signal(signal.SIGTERM)
                self.assertEqual(proc.wait(15), 0)
                self.assertEqual(proc.stderr.read(), b"")
                with self.assertRaises(OSError):
                    socket.create_connection(("127.0.0.1", info["port"]), timeout=2).close()
            finally:
                if proc.poll() is None:
                    proc.kill()
                    proc.wait()
                proc.stdout.close()
                proc.stderr.close()

    @staticmethod
    def swallow(fn, *args):
        try:
            fn(*args)
        except OSError:
            pass


if __name__ == "__main__":
    unittest.main()


class CommandLineTest(unittest.TestCase):
    def run_serve(self, *args):
        with tempfile.TemporaryDirectory() as tmp:
            return subprocess.run([sys.executable, SERVE, "--cert-dir", tmp] + list(args),
                                  capture_output=True, text=True, timeout=60)

    def test_out_of_range_options_are_refused(self):
        for args in (["--stocks", "50001"], ["--etfs", "0"], ["--columns", "65"],
                     ["--port", "70000"], ["--stocks", "many"]):
            r = self.run_serve(*args)
            self.assertEqual(r.returncode, 2, args)
            self.assertEqual(r.stdout, "")

    def test_a_port_in_use_is_reported(self):
        with socket.socket() as busy:
            busy.bind(("127.0.0.1", 0))
            busy.listen()
            r = self.run_serve("--port", str(busy.getsockname()[1]), "--stocks", "1",
                               "--etfs", "1")
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stdout, "")
        self.assertIn("cannot listen", r.stderr)
