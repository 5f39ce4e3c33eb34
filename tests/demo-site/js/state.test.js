"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { load, smallTable } = require("./helpers.js");

const S = load("state.js");
const screens = load("screens.js");
const cols = smallTable().columns;

test("slugify makes lower-case dashed slugs", () => {
  assert.equal(S.slugify("Consumer Discretionary"), "consumer-discretionary");
  assert.equal(S.slugify("Oil & Gas E&P"), "oil-gas-e-p");
  assert.equal(S.slugify("  REIT - Office "), "reit-office");
});

test("decode reads ranges, choices, signals, search, columns, sort and paging", () => {
  const d = S.decode("#mcap=1000000000..&pe=..15&sector=technology,energy&ma=golden" +
                     "&ipo=2010-01-01..2020-12-31&q=Delta%20E&cols=s,pe,mcap&sort=-pe&page=3&rows=100", cols);
  assert.deepEqual(d.filters, [
    { key: "mcap", kind: "range", min: 1e9, max: null },
    { key: "pe", kind: "range", min: null, max: 15 },
    { key: "sector", kind: "choice", values: ["technology", "energy"] },
    { key: "ma", kind: "signal", value: "golden" },
    { key: "ipo", kind: "range", min: "2010-01-01", max: "2020-12-31" },
  ]);
  assert.equal(d.q, "Delta E");
  assert.deepEqual(d.cols, ["s", "pe", "mcap"]);
  assert.deepEqual(d.sort, { key: "pe", desc: true });
  assert.equal(d.page, 3);
  assert.equal(d.rows, 100);
});

test("decode ignores what it does not understand", () => {
  const d = S.decode("nosuch=1..2&mcap=abc..&pe=..&sector=Bad Slug&ma=sideways&name=x" +
                     "&ipo=2020-1-1..&sort=nosuch&page=0&rows=75&q=%E0%A4%A&cols=zz,yy&junk&=3", cols);
  assert.deepEqual(d.filters, []);
  assert.equal(d.sort, undefined);
  assert.equal(d.page, undefined);
  assert.equal(d.rows, undefined);
  assert.equal(d.q, undefined);
  assert.equal(d.cols, undefined);
});

test("decode keeps the first filter of a key and drops duplicate columns", () => {
  const d = S.decode("pe=1..2&pe=3..4&cols=s,pe,pe,mcap", cols);
  assert.deepEqual(d.filters, [{ key: "pe", kind: "range", min: 1, max: 2 }]);
  assert.deepEqual(d.cols, ["s", "pe", "mcap"]);
});

test("encode then decode gives the same state", () => {
  const state = {
    filters: [
      { key: "dy", kind: "range", min: 2.5, max: null },
      { key: "mcap", kind: "range", min: 1e21, max: 2e-7 },
      { key: "sector", kind: "choice", values: ["energy"] },
      { key: "ma", kind: "signal", value: "death" },
      { key: "ipo", kind: "range", min: null, max: "2001-01-01" },
    ],
    q: "a&b=c #<x> \"q\" 100% \u00e9",
    cols: ["s", "name", "dy", "ma"],
    sort: { key: "dy", desc: false },
    page: 7,
    rows: 500,
  };
  const frag = S.encode(state);
  const back = S.resolve(frag, cols, screens.forPage("stocks", ""));
  assert.deepEqual(back, state);
  assert.equal(S.encode(back), frag);
});

test("an encoded fragment is safe to keep as a saved screen", () => {
  const frag = S.encode({
    filters: [{ key: "pe", kind: "range", min: -1.5, max: 3 }],
    q: "\"quoted\" <tag> #hash \\ back\u0001slash\u007f",
    cols: ["s"], sort: { key: "pe", desc: true }, page: 1, rows: 50,
  });
  // No control bytes, no quote, hash, angle brackets or backslash; far below 4096 bytes.
  assert.doesNotMatch(frag, /[\u0000-\u001f\u007f"#<>\\]/);
  assert.ok(Buffer.byteLength(frag) < 4096);
});

test("resolve uses the page defaults when the fragment is empty", () => {
  const defaults = screens.forPage("stocks", "dy=4..&cols=name,dy&sort=-dy");
  const s = S.resolve("", cols, defaults);
  assert.deepEqual(s.filters, [{ key: "dy", kind: "range", min: 4, max: null }]);
  assert.deepEqual(s.cols, ["s", "name", "dy"], "the symbol column is always first");
  assert.deepEqual(s.sort, { key: "dy", desc: true });
  assert.equal(s.page, 1);
  assert.equal(s.rows, 50);
});

test("resolve takes the whole state from a fragment, filling only what it lacks", () => {
  const defaults = screens.forPage("stocks", "dy=4..&cols=name,dy&sort=-dy");
  const s = S.resolve("#pe=..20&page=2", cols, defaults);
  assert.deepEqual(s.filters, [{ key: "pe", kind: "range", min: null, max: 20 }]);
  assert.deepEqual(s.cols, ["s", "name", "dy"]);
  assert.deepEqual(s.sort, { key: "dy", desc: true });
  assert.equal(s.page, 2);
});

test("resolve survives a fragment that is pure noise", () => {
  const s = S.resolve("#%%%&&&==&cols=&sort=-&page=-1", cols, screens.forPage("stocks", ""));
  assert.deepEqual(s.filters, []);
  assert.deepEqual(s.sort, { key: "mcap", desc: true });
  assert.equal(s.cols[0], "s");
  assert.ok(s.cols.every((k) => cols.some((c) => c.key === k)), "only known columns");
});
