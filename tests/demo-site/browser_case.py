"""A test case with its own demo site and a headless Chromium mapped onto it, shared by
the browser-driven tests. SITE_ARGS sets the site's sizes for the class."""

import tempfile
import unittest

import cdp
from test_server import Client, start_server


class SiteBrowserCase(unittest.TestCase):
    SITE_ARGS = ()

    @classmethod
    def setUpClass(cls):
        cls.tmpdir = tempfile.TemporaryDirectory()
        cls.server, cls.info = start_server(cls.tmpdir.name, *cls.SITE_ARGS)
        cls.c = Client(cls.tmpdir.name, cls.info)
        try:
            cls.b = cdp.Browser(cls.info["port"], cls.info["spki"])
        except Exception:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "b", None):
            cls.b.close()
        cls.server.terminate()
        cls.server.wait(10)
        cls.server.stdout.close()
        cls.server.stderr.close()
        cls.tmpdir.cleanup()
