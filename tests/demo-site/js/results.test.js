// The screeners on the data the server really serves: default pages, filtered screens,
// presets and the fragment round trip.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { load, generated, presets } = require("./helpers.js");

const S = load("state.js");
const E = load("engine.js");
const screens = load("screens.js");

const stocks = generated("stocks");
const etfs = generated("etfs");
const TYPES = ["money", "price", "pct", "num", "int", "cnt", "lev", "score", "date", "rating", "sig", "text"];

function col(table, key) {
  return table.columns.findIndex((c) => c.key === key);
}

test("the default stock screener returns every stock and every column type", () => {
  const state = S.resolve("", stocks.columns, screens.forPage("stocks", ""));
  const r = E.results(stocks, state, "https://www.vxscreener.example/screener.html");
  assert.equal(r.rows.length, 6000);
  assert.equal(r.total, 6000);
  const types = new Set(r.columns.map((c) => c.type));
  for (const t of TYPES) assert.ok(types.has(t), "column type " + t);
  assert.ok(r.columns.some((c) => c.type === "pct" && c.signed), "a signed percentage");
  assert.ok(r.columns.some((c) => c.type === "pct" && !c.signed), "an unsigned percentage");
  for (const c of r.columns) assert.match(c.key, /^[a-z0-9]{1,16}$/);
  // Largest company first; each row holds one value per column.
  const mcap = r.columns.findIndex((c) => c.key === "mcap");
  for (let i = 1; i < r.rows.length; i++) assert.ok(r.rows[i - 1][mcap] >= r.rows[i][mcap]);
  for (const row of r.rows) assert.equal(row.length, r.columns.length);
});

test("the default ETF screener returns every ETF", () => {
  const state = S.resolve("", etfs.columns, screens.forPage("etfs", ""));
  const r = E.results(etfs, state, "u");
  assert.equal(r.screener, "etfs");
  assert.equal(r.rows.length, 3000);
  assert.ok(r.columns.some((c) => c.type === "lev"));
});

test("a filtered screen returns exactly the rows that pass its filters", () => {
  const frag = "sector=technology,healthcare&dy=1..&pe=..25&ma=golden&cols=s,name,dy,pe&sort=-dy&page=2";
  const state = S.resolve(frag, stocks.columns, screens.forPage("stocks", ""));
  const r = E.results(stocks, state, "u");
  const [sec, dy, pe, ma] = ["sector", "dy", "pe", "ma"].map((k) => col(stocks, k));
  const want = stocks.rows.filter((row) =>
    (row[sec] === "Technology" || row[sec] === "Healthcare") && row[dy] !== null && row[dy] >= 1 &&
    row[pe] !== null && row[pe] <= 25 && row[ma] > 0);
  assert.ok(want.length > 5 && want.length < 500, "a meaningful slice: " + want.length);
  assert.deepEqual(r.rows.map((x) => x[0]).sort(), want.map((x) => x[0]).sort());
  assert.equal(r.total, want.length);
  for (let i = 1; i < r.rows.length; i++) assert.ok(r.rows[i - 1][2] >= r.rows[i][2], "sorted by yield");
});

test("every preset decodes completely and selects a plausible slice", () => {
  const all = presets();
  assert.equal(all.stocks.length, 14);
  assert.equal(all.etfs.length, 14);
  for (const kind of ["stocks", "etfs"]) {
    const table = kind === "stocks" ? stocks : etfs;
    for (const p of all[kind]) {
      assert.equal(p.slug.startsWith("etf-"), kind === "etfs", p.slug);
      const d = S.decode(p.state, table.columns);
      const parts = p.state.split("&");
      const known = parts.filter((x) => /^(cols|sort|page|rows|q)=/.test(x)).length;
      assert.equal(d.filters.length + known, parts.length, "nothing of " + p.slug + " is dropped");
      assert.equal(d.cols && d.cols.length, parts.find((x) => x.startsWith("cols=")).split(",").length, p.slug);
      const state = S.resolve("", table.columns, screens.forPage(kind, p.state));
      const n = E.matching(table, state).length;
      assert.ok(n >= 5 && n <= table.rows.length, p.slug + " matches " + n);
      if (d.filters.length) assert.ok(n < table.rows.length, p.slug + " filters something");
    }
  }
});

test("a fragment written by the page reopens the same rows, columns and order", () => {
  const start = S.resolve("", stocks.columns, screens.forPage("stocks", presets().stocks[1].state));
  // What the user does on the page: add a filter, search, change columns, sort and page.
  start.filters.push({ key: "sector", kind: "choice", values: ["energy", "utilities"] });
  start.filters.push({ key: "mcap", kind: "range", min: 1.5e8, max: null });
  start.cols.push("ch1y", "ma");
  start.sort = { key: "ch1y", desc: true };
  start.page = 2;
  start.rows = 100;
  const frag = S.encode(start);
  const reopened = S.resolve("#" + frag, stocks.columns, screens.forPage("stocks", presets().stocks[1].state));
  assert.deepEqual(reopened, start);
  const a = E.results(stocks, start, "u"), b = E.results(stocks, reopened, "u");
  assert.deepEqual(b.columns, a.columns);
  assert.deepEqual(b.rows, a.rows);
  assert.ok(a.rows.length > 0);
  // The same fragment on the default page gives the same screen too.
  const elsewhere = S.resolve(frag, stocks.columns, screens.forPage("stocks", ""));
  assert.deepEqual(E.results(stocks, elsewhere, "u").rows, a.rows);
});

test("an edited fragment on a preset page still gives a working screen", () => {
  const defaults = screens.forPage("stocks", presets().stocks[5].state);
  for (const frag of ["#price=..5&sort=-nosuch", "#price=abc", "#cols=s&rows=7", "#&&&", "#q=%ZZ"]) {
    const state = S.resolve(frag, stocks.columns, defaults);
    const r = E.results(stocks, state, "u");
    assert.ok(r.columns.length >= 1 && r.columns[0].key === "s", frag);
    assert.ok(r.rows.length > 0, frag);
  }
});
