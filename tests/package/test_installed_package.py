#!/usr/bin/python3
"""Installs the Debian package into a throw-away root with dpkg, starts the installed
program against the demo site with the launcher's switches, and waits through the
browser engine's DevTools endpoint until the stock screener shows result rows. Then it
checks the window's class against the desktop entry, removes the package again and
checks that the user's data stayed.

Usage (under an X server, e.g. xvfb-run): test_installed_package.py <package.deb>
"""

import configparser
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "demo-site"))

import cdp  # noqa: E402
from test_server import start_server  # noqa: E402

APP_ID = "com.orvanesoftware.Velquist"
SITE_HOST = "www.vxscreener.example"
PACKAGE = None  # the .deb, from the command line

SCREENS = (b'{"version":1,"product":"Velquist","screens":[{"name":"Growth","tab":"stocks",'
           b'"path":"/screener.html","hash":"f=1"}]}')


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def dpkg(root, *words):
    return subprocess.run(["dpkg", "--root", root, "--force-script-chrootless",
                           "--force-depends", "--log=/dev/null", *words],
                          capture_output=True, text=True)


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise TimeoutError("timed out waiting for " + what)


class InstalledPackage(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.root = os.path.join(self.tmp.name, "root")
        admin = os.path.join(self.root, "var", "lib", "dpkg")
        for folder in ("updates", "info"):
            os.makedirs(os.path.join(admin, folder))
        open(os.path.join(admin, "status"), "w").close()
        self.home = os.path.join(self.tmp.name, "home")
        self.data = os.path.join(self.home, ".local", "share", "Orvane Software", "Velquist")
        os.makedirs(self.data)
        with open(os.path.join(self.data, "screens.json"), "wb") as f:
            f.write(SCREENS)

    def installed(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def start_program(self, site):
        devtools = free_port()
        env = dict(os.environ, HOME=self.home, TMPDIR=self.tmp.name,
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"))
        args = [self.installed("/usr/bin/velquist"), "--webEngineArgs",
                f"--host-resolver-rules=MAP {SITE_HOST} 127.0.0.1:{site['port']}",
                f"--ignore-certificate-errors-spki-list={site['spki']}",
                f"--remote-debugging-port={devtools}"]
        program = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, program)
        return program, f"http://127.0.0.1:{devtools}"

    @staticmethod
    def stop(process):
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(30)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def screener_page(self, program, devtools):
        def find():
            self.assertIsNone(program.poll(), "the installed program ended")
            try:
                pages = cdp.page_targets(devtools)
            except OSError:
                return None
            return next((p for p in pages
                         if p["url"].startswith(f"https://{SITE_HOST}/screener.html")), None)
        return wait_until(find, 120, "the stock screener page")

    def window_class(self):
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True,
                              text=True).stdout
        for window in re.findall(r"^\s+(0x[0-9a-f]+) \"Velquist\"", tree, re.M):
            found = re.search(r'WM_CLASS\(STRING\) = "([^"]*)", "([^"]*)"',
                              subprocess.run(["xprop", "-id", window, "WM_CLASS"],
                                             capture_output=True, text=True).stdout)
            if found:
                return found.group(2)
        return None

    def test_install_start_and_remove(self):
        result = dpkg(self.root, "--install", PACKAGE)
        self.assertEqual(result.returncode, 0, result.stderr)
        desktop_path = self.installed(f"/usr/share/applications/{APP_ID}.desktop")
        desktop = configparser.ConfigParser(interpolation=None)
        desktop.optionxform = str
        desktop.read(desktop_path)
        entry = desktop["Desktop Entry"]
        self.assertEqual(entry["Exec"], "velquist")
        self.assertEqual(entry["Icon"], APP_ID)
        for size in (16, 24, 32, 48, 64, 128, 256, 512):
            self.assertTrue(os.path.isfile(self.installed(
                f"/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png")), size)
        self.assertTrue(os.path.isfile(self.installed(
            f"/usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg")))
        with open(self.installed(f"/usr/share/metainfo/{APP_ID}.metainfo.xml")) as f:
            self.assertIn(f"<launchable type=\"desktop-id\">{APP_ID}.desktop</launchable>",
                          f.read())

        tmp = os.path.join(self.tmp.name, "site")
        os.makedirs(tmp)
        server, site = start_server(tmp)
        self.addCleanup(self.stop, server)
        self.addCleanup(server.stdout.close)
        self.addCleanup(server.stderr.close)

        program, devtools = self.start_program(site)
        page = cdp.Page()
        page.attach(self.screener_page(program, devtools)["webSocketDebuggerUrl"])
        self.addCleanup(page.ws.close)
        rows = page.wait_for("document.querySelectorAll('td.sx-sym a').length", timeout=120)
        self.assertGreater(rows, 0)
        # The desktop groups the window under the entry whose StartupWMClass it carries.
        self.assertEqual(wait_until(self.window_class, 60, "the main window"),
                         entry["StartupWMClass"])
        self.stop(program)
        profile = os.path.join(self.home, ".cache", "Orvane Software", "Velquist", "WebView2")
        self.assertTrue(os.path.isdir(profile), "the program kept no browser profile")

        result = dpkg(self.root, "--purge", "velquist")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertFalse(os.path.exists(self.installed("/usr/bin/velquist")))
        self.assertFalse(os.path.exists(desktop_path))
        with open(os.path.join(self.data, "screens.json"), "rb") as f:
            self.assertEqual(f.read(), SCREENS)
        self.assertTrue(os.path.isdir(profile))


if __name__ == "__main__":
    PACKAGE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
