"""The screener pages in a real headless Chromium: the page hook, the fragment the page
writes, the row markup, app mode and the test switches. Skipped without Chromium."""

import json
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cdp  # noqa: E402
from browser_case import SiteBrowserCase  # noqa: E402

ORIGIN = "https://www.vxscreener.example"
READY = "document.querySelector('#screener.ready .results-table') !== null"
RESULTS = "JSON.stringify(window.VXScreener.getResults())"
QUOTE_PATH = re.compile(r"^/(stocks|etfs)/([a-z0-9][a-z0-9.\-]*)\.html$")
ALL_TYPES = {"money", "price", "pct", "num", "int", "cnt", "lev", "score", "date", "rating",
             "sig", "text"}


@unittest.skipUnless(cdp.find_chromium(), "no Chromium on this machine")
class BrowserTest(SiteBrowserCase):
    SITE_ARGS = ("--stocks", "1500", "--etfs", "700")

    def setUp(self):
        self.c.ctl("/reset")
        del self.b.events[:]

    def tearDown(self):
        self.assertEqual(self.b.exceptions(), [], "no script errors on the page")

    def open(self, path):
        # A fresh document each time, even when only the fragment differs.
        self.b.navigate("about:blank")
        self.b.wait_for("location.href === 'about:blank'")
        self.b.navigate(ORIGIN + path)
        self.b.wait_for(READY)

    def results(self):
        return json.loads(self.b.evaluate(RESULTS))

    def shown(self):
        return self.b.evaluate(
            "Array.from(document.querySelectorAll('.results-table tbody tr'))"
            ".map(tr => Array.from(tr.cells).map(td => td.textContent))")

    def test_default_stock_screener_results(self):
        self.open("/screener.html")
        r = self.results()
        self.assertEqual(r["version"], 1)
        self.assertEqual(r["screener"], "stocks")
        self.assertEqual(r["asof"], "2025-06-13")
        self.assertEqual(r["url"], ORIGIN + "/screener.html")
        self.assertEqual(len(r["rows"]), 1500, "every row, not just the page on screen")
        self.assertEqual(r["total"], 1500)
        self.assertEqual({c["type"] for c in r["columns"]}, ALL_TYPES)
        self.assertTrue(any(c["type"] == "pct" and c["signed"] for c in r["columns"]))
        self.assertTrue(any(c["type"] == "pct" and not c["signed"] for c in r["columns"]))
        # The table shows the first 50 of the same rows, with the same columns.
        rows = self.shown()
        self.assertEqual(len(rows), 50)
        self.assertEqual([row[0] for row in rows], [row[0] for row in r["rows"][:50]])
        heads = self.b.evaluate("Array.from(document.querySelectorAll('.results-table th'))"
                                ".map(th => th.textContent.replace(/ [\\u25b2\\u25bc]$/, ''))")
        self.assertEqual(heads, [c["label"] for c in r["columns"]])
        self.assertEqual(self.b.evaluate("document.querySelector('.count-box .count').textContent"),
                         "1,500 stocks")
        self.assertEqual(self.b.evaluate("location.hash"), "", "loading writes no fragment")

    def test_result_rows_link_their_symbol_pages(self):
        self.open("/etf-screener.html")
        links = self.b.evaluate(
            "Array.from(document.querySelectorAll('.results-table tbody tr')).map(tr => {"
            " const a = tr.querySelector('td.sx-sym a[href]');"
            " return a && [a.getAttribute('href'), a.textContent.trim()]; })")
        self.assertEqual(len(links), 50)
        for href, sym in links:
            m = QUOTE_PATH.match(href)
            self.assertIsNotNone(m, href)
            self.assertEqual((m.group(1), m.group(2)), ("etfs", sym.lower()))
        # What the program's row menu does: fetch the symbol page and read its tabs.
        tabs = self.b.evaluate(
            "fetch(%s, {credentials: 'omit'}).then(r => r.text()).then(t => {"
            " const d = new DOMParser().parseFromString(t, 'text/html');"
            " return Array.from(d.querySelectorAll('nav.stock-tabs a[href]'))"
            "   .map(a => [a.textContent.replace(/\\s+/g, ' ').trim(), a.getAttribute('href')]);"
            "})" % json.dumps(links[0][0]))
        self.assertGreaterEqual(len(tabs), 4)
        self.assertIn(["Overview", links[0][0]], tabs)
        for label, href in tabs:
            self.assertTrue(label)
            self.assertRegex(href, r"^/[a-z][a-z\-]*/[a-z0-9][a-z0-9.\-]*\.html$")

    def test_fragment_written_by_the_page_reopens_the_same_screen(self):
        self.open("/screener.html")
        before = self.b.evaluate("history.length")
        # Work the page like a user: a range filter, a sector, a search, a column, the sort,
        # the page size and the next page.
        self.b.evaluate("""(() => {
          const tab = name => Array.from(document.querySelectorAll('.filter-tabs [role=tab]'))
            .find(b => b.textContent.startsWith(name)).click();
          tab('Dividends');
          const dy = document.querySelector('.filter[data-key=dy] input');
          dy.value = '1.5'; dy.dispatchEvent(new Event('input', {bubbles: true}));
          tab('Descriptive');
          for (const v of ['technology', 'financials', 'healthcare']) {
            document.querySelector('.filter[data-key=sector] input[value=' + v + ']').click();
          }
          document.querySelector('.tools .button').click();
          const pick = Array.from(document.querySelectorAll('.column-pop label'))
            .find(l => l.textContent === 'Change 1Y');
          pick.querySelector('input').click();
          document.querySelector('.tools .button').click();
          Array.from(document.querySelectorAll('.results-table th button'))
            .find(b => b.textContent.startsWith('Div. yield')).click();
          const size = document.querySelector('.tools select');
          size.value = '100'; size.dispatchEvent(new Event('change', {bubbles: true}));
          Array.from(document.querySelectorAll('.pages button'))
            .find(b => b.textContent.startsWith('Next')).click();
        })()""")
        frag = self.b.evaluate("location.hash")
        parts = dict(p.split("=", 1) for p in frag[1:].split("&"))
        self.assertEqual(parts["dy"], "1.5..")
        self.assertEqual(set(parts["sector"].split(",")), {"technology", "financials", "healthcare"})
        self.assertTrue(parts["cols"].startswith("s,") and parts["cols"].endswith(",ch1y"))
        self.assertIn("sort=-dy", frag)
        self.assertTrue(frag.endswith("&page=2&rows=100"), frag)
        self.assertEqual(self.b.evaluate("history.length"), before, "replaceState, no new entry")
        first = self.results()
        first_shown = self.shown()
        page_text = self.b.evaluate("document.querySelector('.page-no').textContent")
        self.assertIn("ch1y", [c["key"] for c in first["columns"]])
        self.assertTrue(0 < len(first["rows"]) < 1500)
        self.assertTrue(100 < len(first["rows"]), "more rows than one page")
        yields = [row[[c["key"] for c in first["columns"]].index("dy")] for row in first["rows"]]
        self.assertEqual(yields, sorted(yields, reverse=True))
        self.assertTrue(all(y >= 1.5 for y in yields))

        self.open("/screener.html" + frag)
        self.assertEqual(self.b.evaluate("location.hash"), frag)
        again = self.results()
        self.assertEqual(again["columns"], first["columns"])
        self.assertEqual(again["rows"], first["rows"])
        self.assertEqual(self.shown(), first_shown)
        self.assertEqual(self.b.evaluate("document.querySelector('.page-no').textContent"),
                         page_text)

    def test_preset_page_and_an_edited_fragment(self):
        self.open("/screener/penny-stocks.html")
        r = self.results()
        price = [c["key"] for c in r["columns"]].index("price")
        self.assertTrue(r["rows"] and all(row[price] <= 5 for row in r["rows"]))
        self.assertEqual(self.b.evaluate("location.hash"), "")
        # The user edits the address: the page follows without a reload.
        self.b.evaluate("location.hash = 'price=..2&sort=price'")
        self.b.wait_for("document.querySelector('.chip') && "
                        "document.querySelector('.chip').textContent.includes('$2.00')")
        r2 = self.results()
        prices = [row[price] for row in r2["rows"]]
        self.assertTrue(prices and max(prices) <= 2)
        self.assertEqual(prices, sorted(prices))
        self.open("/screener/penny-stocks.html#sort=nonsense&price=abc&&rows=9")
        self.assertGreater(len(self.results()["rows"]), 0)

    def test_filtered_screen_returns_exactly_the_filtered_rows(self):
        self.open("/etf-screener.html#asset=fixed-income&er=..0.2&cols=s,asset,er,aum")
        r = self.results()
        data = json.loads(self.c.request("/screener/data/etf-screener.json")[2])
        keys = [c["key"] for c in data["columns"]]
        want = {row[0] for row in data["rows"]
                if row[keys.index("asset")] == "Fixed Income" and
                row[keys.index("er")] is not None and row[keys.index("er")] <= 0.2}
        self.assertTrue(want)
        self.assertEqual({row[0] for row in r["rows"]}, want)
        self.assertEqual(r["total"], len(want))
        self.assertEqual([c["key"] for c in r["columns"]], ["s", "asset", "er", "aum"])

    def test_app_mode_hides_header_and_navigation(self):
        self.open("/screener.html")
        shown = self.b.evaluate("getComputedStyle(document.querySelector('.site-header')).display")
        self.assertNotEqual(shown, "none")
        self.b.evaluate("document.documentElement.classList.add('vx-app')")
        for sel in (".site-header", ".site-nav"):
            self.assertEqual(self.b.evaluate(f"getComputedStyle(document.querySelector('{sel}'))"
                                             ".display"), "none", sel)

    def test_older_page_without_the_hook(self):
        self.c.ctl("/set?hook=off")
        self.open("/screener.html")
        self.assertEqual(self.b.evaluate("typeof window.VXScreener"), "undefined")
        self.assertEqual(len(self.shown()), 50, "the page itself still works")

    def test_results_are_null_for_a_while(self):
        self.c.ctl("/set?null_results_ms=2000")
        self.open("/etf-screener.html")
        self.assertIsNone(self.b.evaluate("window.VXScreener.getResults()"))
        self.b.wait_for("window.VXScreener.getResults() !== null", timeout=20)
        self.assertEqual(len(self.results()["rows"]), 700)

    def test_results_are_null_until_the_data_arrives(self):
        self.c.ctl("/set?data_stall=1")
        self.b.navigate("about:blank")
        self.b.wait_for("location.href === 'about:blank'")
        self.b.navigate(ORIGIN + "/screener.html")
        self.b.wait_for("document.readyState === 'complete' || "
                        "(window.VXScreener && document.querySelector('.loading.big'))")
        self.assertIsNone(self.b.evaluate("window.VXScreener.getResults()"))
        self.c.ctl("/set?data_stall=0")
        self.b.wait_for(READY)
        self.assertEqual(len(self.results()["rows"]), 1500)


if __name__ == "__main__":
    unittest.main()
