"""The data generator: deterministic, sized as asked, well-formed for the screener."""

import json
import os
import re
import sys
import unittest

SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "demo-site")
sys.path.insert(0, SITE)

from vxsite import universe  # noqa: E402

KEY = re.compile(r"^[a-z0-9]{1,16}$")
SLUG = re.compile(r"^[a-z0-9][a-z0-9.\-]*$")
DATE = re.compile(r"^\d{4}-\d{2}-\d{2}$")
TYPES = {"money", "price", "pct", "num", "int", "cnt", "lev", "score", "date", "rating", "sig",
         "text"}


class GeneratorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.u = universe.Universe()

    def test_same_options_give_identical_bytes(self):
        again = universe.Universe()
        for name in ("stocks", "etfs", "search"):
            self.assertEqual(universe.to_json_bytes(getattr(self.u, name)),
                             universe.to_json_bytes(getattr(again, name)), name)

    def test_other_seed_gives_other_data(self):
        other = universe.Universe(50, 20, seed=7)
        small = universe.Universe(50, 20)
        self.assertNotEqual(other.stocks["rows"], small.stocks["rows"])

    def test_default_sizes_and_one_asof(self):
        self.assertEqual(len(self.u.stocks["rows"]), 6000)
        self.assertEqual(len(self.u.etfs["rows"]), 3000)
        self.assertEqual(len(self.u.search["symbols"]), 9000)
        self.assertRegex(self.u.asof, DATE)
        self.assertEqual({self.u.stocks["asof"], self.u.etfs["asof"], self.u.search["asof"]},
                         {self.u.asof})

    def test_sizes_are_options_and_are_capped(self):
        u = universe.Universe(123, 45, 64)
        self.assertEqual((len(u.stocks["rows"]), len(u.etfs["rows"])), (123, 45))
        self.assertEqual(len(u.stocks["columns"]), 64)
        self.assertEqual(len(u.etfs["columns"]), 64)
        self.assertTrue(all(len(r) == 64 for r in u.stocks["rows"] + u.etfs["rows"]))
        capped = universe.Universe(10, 10, 500)
        self.assertEqual(len(capped.stocks["columns"]), universe.MAX_COLUMNS)
        self.assertEqual(len(universe.Universe(0, 0).stocks["rows"]), 1)

    def test_largest_universe_is_allowed(self):
        u = universe.Universe(universe.MAX_ROWS + 5, 1)
        self.assertEqual(len(u.stocks["rows"]), universe.MAX_ROWS)
        self.assertEqual(len({r[0] for r in u.stocks["rows"]}), universe.MAX_ROWS)

    def test_columns_are_well_formed(self):
        for table in (self.u.stocks, self.u.etfs):
            keys = [c["key"] for c in table["columns"]]
            self.assertEqual(len(keys), len(set(keys)))
            self.assertEqual(keys[:2], ["s", "name"])
            for c in table["columns"]:
                self.assertRegex(c["key"], KEY)
                self.assertIn(c["type"], TYPES)
                self.assertIsInstance(c["signed"], bool)
                self.assertIn(c["filter"], ("", "range", "choice", "signal"))
        self.assertEqual({c["type"] for c in self.u.stocks["columns"]}, TYPES)

    def test_values_match_their_column_types(self):
        for table in (self.u.stocks, self.u.etfs):
            cols = table["columns"]
            for row in table["rows"]:
                self.assertEqual(len(row), len(cols))
                for c, v in zip(cols, row):
                    if v is None:
                        continue
                    if c["type"] == "date":
                        self.assertRegex(v, DATE)
                        self.assertLessEqual(v, self.u.asof)
                    elif c["type"] == "text":
                        self.assertIsInstance(v, str)
                        self.assertTrue(v)
                    elif c["type"] == "rating":
                        self.assertTrue(1 <= v <= 5, v)
                    elif c["type"] == "sig":
                        self.assertIn(v, (-1, 0, 1))
                    elif c["type"] in ("int", "cnt"):
                        self.assertIsInstance(v, int)
                    else:
                        self.assertIsInstance(v, (int, float))

    def test_symbols_are_unique_across_both_screeners_and_make_page_slugs(self):
        syms = [r[0] for r in self.u.stocks["rows"] + self.u.etfs["rows"]]
        self.assertEqual(len(syms), len(set(syms)))
        for s in syms:
            self.assertRegex(universe.slug_of(s), SLUG)
            self.assertLessEqual(len(s), 16)
            self.assertNotIn("..", s)

    def test_the_universe_is_realistic(self):
        cols = [c["key"] for c in self.u.stocks["columns"]]
        rows = self.u.stocks["rows"]
        col = {k: [r[cols.index(k)] for r in rows] for k in ("sector", "mcap", "dy", "pe")}
        self.assertGreaterEqual(len(set(col["sector"])), 11)
        self.assertGreater(max(col["mcap"]), 5e11)
        self.assertLess(min(col["mcap"]), 5e7)
        payers = sum(1 for v in col["dy"] if v is not None)
        self.assertTrue(0.2 < payers / len(rows) < 0.7, payers)
        self.assertTrue(any(v is None for v in col["pe"]))
        ecols = [c["key"] for c in self.u.etfs["columns"]]
        levs = {r[ecols.index("lev")] for r in self.u.etfs["rows"]}
        self.assertTrue({1, 2, 3, -1} <= levs, levs)

    def test_data_files_are_strict_json(self):
        text = universe.to_json_bytes(self.u.stocks).decode("utf-8")
        self.assertNotIn("NaN", text)
        self.assertEqual(json.loads(text)["screener"], "stocks")
        self.assertEqual(universe.Universe(5, 5).etfs["screener"], "etfs")


if __name__ == "__main__":
    unittest.main()


class DataCacheTest(unittest.TestCase):
    def setUp(self):
        import tempfile
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def test_cached_data_equals_fresh_data(self):
        from vxsite import datacache
        fresh = universe.Universe(40, 30, 0)
        first_u, first = datacache.load(self.tmp.name, 40, 30, 0)
        second_u, second = datacache.load(self.tmp.name, 40, 30, 0)
        self.assertEqual(first, second)
        self.assertEqual(first["stocks"], universe.to_json_bytes(fresh.stocks))
        self.assertEqual(second_u.record("stocks", universe.slug_of(fresh.stocks["rows"][3][0])),
                         first_u.record("stocks", universe.slug_of(fresh.stocks["rows"][3][0])))

    def test_second_load_reads_the_cache(self):
        from vxsite import datacache
        datacache.load(self.tmp.name, 20, 10, 0)
        original = universe.generate
        universe.generate = lambda *a, **k: self.fail("generated again")
        try:
            u, _ = datacache.load(self.tmp.name, 20, 10, 0)
        finally:
            universe.generate = original
        self.assertEqual(len(u.stocks["rows"]), 20)

    def test_a_damaged_cache_is_made_again(self):
        import glob
        from vxsite import datacache
        _, good = datacache.load(self.tmp.name, 20, 10, 0)
        for path in glob.glob(os.path.join(self.tmp.name, "data-*-stocks.json")):
            with open(path, "wb") as f:
                f.write(b'{"rows": [')
        u, again = datacache.load(self.tmp.name, 20, 10, 0)
        self.assertEqual(again, good)
        self.assertEqual(len(u.stocks["rows"]), 20)

    def test_other_options_get_their_own_entry_and_old_ones_go(self):
        import glob
        from vxsite import datacache
        for n in range(1, datacache.KEEP + 4):
            datacache.load(self.tmp.name, n, 1, 0)
        files = glob.glob(os.path.join(self.tmp.name, "data-*.json"))
        self.assertEqual(len(files), datacache.KEEP * len(datacache.PARTS))
        u, _ = datacache.load(self.tmp.name, 2, 1, 0)
        self.assertEqual(len(u.stocks["rows"]), 2)

    def test_unwritable_cache_still_serves_data(self):
        from vxsite import datacache
        blocker = os.path.join(self.tmp.name, "file")
        with open(blocker, "w") as f:
            f.write("x")
        u, blobs = datacache.load(os.path.join(blocker, "sub"), 5, 5, 0)
        self.assertEqual(len(json.loads(blobs["etfs"])["rows"]), 5)
