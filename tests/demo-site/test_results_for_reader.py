"""What getResults() returns, held against what the program's results reader accepts and
what its symbol links rely on: version 1, a known screener, 1 to 64 columns with keys of
1 to 16 bytes of a-z and 0-9 and types the program knows, rows of exactly one value per
column, and the symbol column first under the key "s" with symbols that make a link.

The results come from the page's own modules under Node (every preset, all columns, 64
columns) and from the real page in headless Chromium; either part is skipped when its
program is missing."""

import json
import math
import os
import re
import shutil
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SITE = os.path.normpath(os.path.join(HERE, "..", "..", "demo-site"))
sys.path.insert(0, HERE)
sys.path.insert(0, SITE)

import cdp  # noqa: E402
from browser_case import SiteBrowserCase  # noqa: E402
from vxsite import universe  # noqa: E402

ORIGIN = "https://www.vxscreener.example"
PAGES = {"stocks": "/screener.html", "etfs": "/etf-screener.html"}
NODE = shutil.which("node") or shutil.which("nodejs")

SYMBOL_KEY = "s"
MAX_PAGE_COLUMNS = 64
MAX_ROWS = 50000
MAX_KEY_BYTES = 16
MAX_TYPE_BYTES = 16
MAX_LABEL_BYTES = 200
MAX_TEXT_BYTES = 1000
MAX_URL_BYTES = 4096
MAX_SYMBOL_BYTES = 16
KEY_RE = re.compile(r"[a-z0-9]+")
ISO_DATE_RE = re.compile(r"[0-9]{4}-[0-9]{2}-[0-9]{2}")
# The bytes a symbol link takes, upper case included (the link lower-cases A-Z).
SYMBOL_RE = re.compile(r"[A-Za-z0-9.\-]+")
# Types the program formats as numbers; "rating" and "sig" it turns into words; "date"
# cells are YYYY-MM-DD text; "text" is a plain generic column.
NUMBER_TYPES = {"money", "price", "pct", "num", "int", "cnt", "lev", "score"}
KNOWN_TYPES = NUMBER_TYPES | {"date", "rating", "sig", "text"}


def utf8_len(text):
    return len(text.encode("utf-8"))


def is_number(v):
    return isinstance(v, (int, float)) and not isinstance(v, bool)


def column_problems(columns):
    if not isinstance(columns, list) or not 1 <= len(columns) <= MAX_PAGE_COLUMNS:
        return ["bad column list"]
    problems = []
    for i, c in enumerate(columns):
        if not isinstance(c, dict):
            problems.append(f"column {i} is not an object")
            continue
        key, label, typ = c.get("key"), c.get("label"), c.get("type")
        if not (isinstance(key, str) and KEY_RE.fullmatch(key) and
                utf8_len(key) <= MAX_KEY_BYTES):
            problems.append(f"column {i}: bad key {key!r}")
        if not (isinstance(label, str) and 0 < utf8_len(label) <= MAX_LABEL_BYTES):
            problems.append(f"column {i}: label {label!r} is missing or would be cut")
        if not (isinstance(typ, str) and utf8_len(typ) <= MAX_TYPE_BYTES and
                typ in KNOWN_TYPES):
            problems.append(f"column {i}: type {typ!r} is not one the program knows")
        if not isinstance(c.get("signed"), bool):
            problems.append(f"column {i}: signed is not a bool")
    return problems


def symbol_column_problems(columns):
    keys = [c.get("key") for c in columns if isinstance(c, dict)]
    if SYMBOL_KEY not in keys:
        return [f'no column keyed "{SYMBOL_KEY}"']
    problems = []
    if keys[0] != SYMBOL_KEY:
        problems.append(f'the first column is {keys[0]!r}, not the symbol column')
    if keys.count(SYMBOL_KEY) != 1:
        problems.append(f'{keys.count(SYMBOL_KEY)} columns keyed "{SYMBOL_KEY}"')
    if columns[0].get("type") != "text":
        problems.append("the symbol column is not a text column")
    return problems


def cell_problem(v, column, first):
    """What is wrong with one row value, or None."""
    typ = column.get("type")
    if first and column.get("key") == SYMBOL_KEY:
        if not (isinstance(v, str) and 1 <= utf8_len(v) <= MAX_SYMBOL_BYTES and
                SYMBOL_RE.fullmatch(v)):
            return f"symbol {v!r} makes no link"
        return None
    if v is None:
        return None
    if isinstance(v, str):
        if utf8_len(v) > MAX_TEXT_BYTES:
            return "text longer than the program keeps"
        if typ == "date" and not ISO_DATE_RE.fullmatch(v):
            return f"date {v!r}"
        return None if typ in ("text", "date") else f"text {v!r} in a {typ} column"
    if not is_number(v) or not math.isfinite(v):
        return f"{v!r} is neither a number, a text nor null"
    if typ == "rating" and not 0.5 <= v <= 5.5:
        return f"rating {v!r} has no rating word"
    if typ == "sig" and v not in (-1, 0, 1):
        return f"signal {v!r}"
    return None if typ in NUMBER_TYPES | {"rating", "sig"} else f"number {v!r} in a {typ} column"


def row_problems(rows, columns):
    if not isinstance(rows, list):
        return ["bad row list"]
    if len(rows) > MAX_ROWS:
        return ["too many rows"]
    problems, symbols = [], set()
    for r, row in enumerate(rows):
        if not isinstance(row, list) or len(row) != len(columns):
            problems.append(f"row {r}: bad row")
            continue
        for i, (v, c) in enumerate(zip(row, columns)):
            p = cell_problem(v, c, i == 0)
            if p:
                problems.append(f"row {r}, column {c.get('key')}: {p}")
        if isinstance(row[0], str):
            if row[0] in symbols:
                problems.append(f"row {r}: symbol {row[0]} twice")
            symbols.add(row[0])
        if len(problems) > 20:
            break
    return problems


def reader_problems(results):
    """Everything in a getResults() value that the program's reader would refuse, drop or
    not link; an empty list when all of it is taken as the page meant it."""
    if not isinstance(results, dict):
        return ["the page returned no results"]
    version = results.get("version")
    if not (is_number(version) and version == 1):
        return ["unsupported results version"]
    if results.get("screener") not in ("stocks", "etfs"):
        return ["unknown screener"]
    problems = []
    asof, url, total = results.get("asof"), results.get("url"), results.get("total")
    if not (isinstance(asof, str) and ISO_DATE_RE.fullmatch(asof)):
        problems.append(f"asof {asof!r} would be dropped")
    if not (isinstance(url, str) and utf8_len(url) <= MAX_URL_BYTES):
        problems.append("url would be dropped")
    rows = results.get("rows")
    if not (is_number(total) and 0 <= total < 1e9 and total == int(total)):
        problems.append(f"total {total!r} would be dropped")
    elif isinstance(rows, list) and total != len(rows):
        problems.append(f"total {total} but {len(rows)} rows")
    columns = results.get("columns")
    column_list = column_problems(columns)
    if column_list:
        return problems + column_list
    problems += symbol_column_problems(columns)
    return problems + row_problems(rows, columns)


def parse_page_json(text):
    # The program's JSON reader knows no NaN or Infinity words.
    def refuse(word):
        raise ValueError("not JSON: " + word)
    return json.loads(text, parse_constant=refuse)


def good_results():
    return {
        "version": 1, "screener": "stocks", "asof": "2025-06-13",
        "url": ORIGIN + "/screener.html", "total": 2,
        "columns": [
            {"key": "s", "label": "Symbol", "type": "text", "signed": False},
            {"key": "ch1d", "label": "Change 1D", "type": "pct", "signed": True},
            {"key": "rating", "label": "Rating", "type": "rating", "signed": False},
            {"key": "ma", "label": "MA cross", "type": "sig", "signed": False},
            {"key": "ipo", "label": "IPO date", "type": "date", "signed": False},
        ],
        "rows": [["BRK.B", 1.5, 4.2, 1, "2001-05-01"], ["A", None, None, 0, None]],
    }


def broken(change):
    r = good_results()
    change(r)
    return r


def set_column(i, member, value):
    return lambda r: r["columns"][i].__setitem__(member, value)


def set_cell(row, i, value):
    return lambda r: r["rows"][row].__setitem__(i, value)


class CheckCatchesFaultsTest(unittest.TestCase):
    """The check itself: a sound results object passes, each kind of fault is caught."""

    def test_sound_results_pass(self):
        self.assertEqual(reader_problems(good_results()), [])
        self.assertEqual(reader_problems(broken(lambda r: r.__setitem__("rows", []))),
                         ["total 2 but 0 rows"])
        empty = broken(lambda r: r.update(rows=[], total=0))
        self.assertEqual(reader_problems(empty), [])

    def test_faults(self):
        wide = [{"key": f"m{i}", "label": "M", "type": "num", "signed": False}
                for i in range(MAX_PAGE_COLUMNS + 1)]
        cases = [
            ("no object", lambda r: r.clear(), "unsupported results version"),
            ("version text", lambda r: r.__setitem__("version", "1"),
             "unsupported results version"),
            ("version true", lambda r: r.__setitem__("version", True),
             "unsupported results version"),
            ("version 2", lambda r: r.__setitem__("version", 2), "unsupported results version"),
            ("screener", lambda r: r.__setitem__("screener", "bonds"), "unknown screener"),
            ("asof", lambda r: r.__setitem__("asof", "2025-6-13"), "asof"),
            ("url", lambda r: r.__setitem__("url", "x" * (MAX_URL_BYTES + 1)), "url"),
            ("total", lambda r: r.__setitem__("total", -5), "total"),
            ("no columns", lambda r: r.__setitem__("columns", []), "bad column list"),
            ("65 columns", lambda r: r.__setitem__("columns", wide), "bad column list"),
            ("old symbol key", set_column(0, "key", "sym"), 'no column keyed "s"'),
            ("symbol not first", lambda r: r["columns"].reverse(), "first column"),
            ("second s", set_column(1, "key", "s"), '2 columns keyed "s"'),
            ("symbol type", set_column(0, "type", "num"), "not a text column"),
            ("capital", set_column(1, "key", "Ch1d"), "bad key"),
            ("underscore", set_column(1, "key", "ch_1d"), "bad key"),
            ("17 letters", set_column(1, "key", "a" * 17), "bad key"),
            ("unknown type", set_column(1, "type", "percent"), "not one the program knows"),
            ("long label", set_column(1, "label", "\u00e9" * 101), "would be cut"),
            ("signed text", set_column(1, "signed", "yes"), "signed"),
            ("short row", lambda r: r["rows"][1].pop(), "bad row"),
            ("rows object", lambda r: r.__setitem__("rows", {}), "bad row list"),
            ("symbol space", set_cell(0, 0, "BRK B"), "makes no link"),
            ("symbol missing", set_cell(1, 0, None), "makes no link"),
            ("symbol 17 bytes", set_cell(0, 0, "A" * 17), "makes no link"),
            ("same symbol", set_cell(1, 0, "BRK.B"), "twice"),
            ("rating 7", set_cell(0, 2, 7), "rating word"),
            ("rating text", set_cell(0, 2, "Buy"), "text"),
            ("signal", set_cell(0, 3, 2), "signal"),
            ("date", set_cell(0, 4, "2001-5-1"), "date"),
            ("bool", set_cell(0, 1, True), "neither"),
            ("long text", set_cell(0, 4, "x" * (MAX_TEXT_BYTES + 1)), "longer"),
        ]
        for name, change, expected in cases:
            with self.subTest(name):
                problems = reader_problems(broken(change))
                self.assertTrue(any(expected in p for p in problems), problems)

    def test_rows_limit(self):
        many = broken(lambda r: r.update(rows=[["A", None, None, None, None]] * (MAX_ROWS + 1),
                                         total=MAX_ROWS + 1))
        self.assertIn("too many rows", reader_problems(many))

    def test_page_json_without_number_words(self):
        self.assertEqual(parse_page_json('{"a": [1, null]}'), {"a": [1, None]})
        with self.assertRaises(ValueError):
            parse_page_json('{"a": NaN}')


def screen(kind, preset="", fragment=""):
    url = ORIGIN + PAGES[kind] + ("#" + fragment if fragment else "")
    return {"kind": kind, "preset": preset, "fragment": fragment, "url": url}


@unittest.skipUnless(NODE, "no Node on this machine")
class PageModulesResultsTest(unittest.TestCase):
    """getResults() as the page's modules compute it, on generated data."""

    def results_of(self, tables, screens):
        request = json.dumps({"tables": tables, "screens": screens}).encode()
        out = subprocess.run([NODE, os.path.join(HERE, "js", "results_of.js")], input=request,
                             stdout=subprocess.PIPE, check=True, timeout=120).stdout
        return parse_page_json(out.decode("utf-8"))

    def check_all(self, tables, screens):
        results = self.results_of(tables, screens)
        self.assertEqual(len(results), len(screens))
        for s, r in zip(screens, results):
            with self.subTest(kind=s["kind"], preset=s["preset"], fragment=s["fragment"]):
                self.assertEqual(reader_problems(r), [])
                self.assertEqual(r["screener"], s["kind"])
        return results

    def test_default_pages_presets_and_all_columns(self):
        tables = universe.generate(600, 300)
        with open(os.path.join(SITE, "presets.json"), encoding="utf-8") as f:
            presets = json.load(f)
        screens = []
        for kind in ("stocks", "etfs"):
            keys = [c["key"] for c in tables[kind]["columns"]]
            screens += [screen(kind), screen(kind, fragment="cols=" + ",".join(keys)),
                        screen(kind, fragment="cols=name,price&sort=-s&q=a"),
                        screen(kind, fragment="price=-5..-1")]
            screens += [screen(kind, preset=p["state"]) for p in presets[kind]]
        results = self.check_all({k: tables[k] for k in ("stocks", "etfs")}, screens)
        every = results[1]
        self.assertEqual([c["key"] for c in every["columns"]],
                         [c["key"] for c in tables["stocks"]["columns"]])
        self.assertEqual(len(every["rows"]), 600)
        # The symbol column is put back in front when a fragment leaves it out.
        self.assertEqual([c["key"] for c in results[2]["columns"]], ["s", "name", "price"])
        self.assertEqual(results[3]["rows"], [], "a screen that matches nothing")
        symbols = {r[0] for r in tables["stocks"]["rows"]}
        self.assertEqual({row[0] for row in every["rows"]}, symbols)

    def test_sixty_four_columns_all_shown(self):
        tables = universe.generate(120, 80, MAX_PAGE_COLUMNS)
        screens = []
        for kind in ("stocks", "etfs"):
            keys = [c["key"] for c in tables[kind]["columns"]]
            self.assertEqual(len(keys), MAX_PAGE_COLUMNS)
            screens.append(screen(kind, fragment="cols=" + ",".join(keys)))
        for r in self.check_all({k: tables[k] for k in ("stocks", "etfs")}, screens):
            self.assertEqual(len(r["columns"]), MAX_PAGE_COLUMNS)


@unittest.skipUnless(cdp.find_chromium(), "no Chromium on this machine")
class LivePageResultsTest(SiteBrowserCase):
    """getResults() on the real page, read the way the program reads it: as the JSON text
    of the hook's return value."""

    SITE_ARGS = ("--stocks", "700", "--etfs", "400", "--columns", str(MAX_PAGE_COLUMNS))

    def open(self, path):
        self.b.navigate("about:blank")
        self.b.wait_for("location.href === 'about:blank'")
        self.b.navigate(ORIGIN + path)
        self.b.wait_for("document.querySelector('#screener.ready .results-table') !== null")

    def page_results(self):
        text = self.b.evaluate("JSON.stringify(window.VXScreener.getResults())")
        return parse_page_json(text)

    def test_screener_pages(self):
        data = parse_page_json(self.c.request("/data/screener/screener.json")[2].decode())
        every = ",".join(c["key"] for c in data["columns"])
        for path, rows in (("/screener.html", 700), ("/etf-screener.html", 400),
                           ("/screener/dividend-stocks.html", None),
                           ("/screener.html#cols=" + every, 700)):
            with self.subTest(path=path[:60]):
                self.open(path)
                r = self.page_results()
                self.assertEqual(reader_problems(r), [])
                if rows is not None:
                    self.assertEqual(len(r["rows"]), rows)
                # The program links the same symbols the page shows in its symbol cells.
                shown = self.b.evaluate(
                    "Array.from(document.querySelectorAll('.results-table tbody td.sx-sym'))"
                    ".map(td => td.textContent.trim())")
                self.assertTrue(shown)
                self.assertEqual(shown, [row[0] for row in r["rows"][:len(shown)]])
        self.assertEqual(len(r["columns"]), MAX_PAGE_COLUMNS)


if __name__ == "__main__":
    unittest.main()
