"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { load, smallTable } = require("./helpers.js");

const S = load("state.js");
const E = load("engine.js");
const screens = load("screens.js");

function syms(rows) {
  return rows.map((r) => r[0]);
}

function stateOf(fragment) {
  return S.resolve(fragment, smallTable().columns, screens.forPage("stocks", ""));
}

test("range filters include both bounds and skip missing values", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("dy=2.1..6.4"))), ["AAA", "CCC", "DDD"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("pe=..15.2"))), ["AAA", "DDD"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("ch1d=0..0"))), ["CCC"]);
});

test("date ranges compare calendar dates", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("ipo=2010-07-07..2019-11-30"))), ["BBB", "DDD"]);
});

test("choice filters match the slug of the value", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("sector=energy,real-estate"))), ["BBB", "CCC", "DDD"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("sector=utilities"))), []);
});

test("signal filters", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("ma=golden"))), ["AAA", "DDD"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("ma=death"))), ["BBB"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("ma=none"))), ["CCC", "EEE"]);
});

test("search matches a symbol prefix or any part of the name", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("q=ee"))), ["EEE"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("q=energy"))), ["DDD"]);
  assert.deepEqual(syms(E.filterRows(t, stateOf("q=TECH"))), ["EEE"]);
});

test("filters combine with and", () => {
  const t = smallTable();
  assert.deepEqual(syms(E.filterRows(t, stateOf("sector=energy&ma=golden&mcap=1000000000.."))), ["DDD"]);
});

test("sorting puts missing values last in both directions and keeps ties in table order", () => {
  const t = smallTable();
  const all = E.filterRows(t, stateOf(""));
  assert.deepEqual(syms(E.sortRows(t, all, { key: "pe", desc: false })), ["DDD", "AAA", "CCC", "EEE", "BBB"]);
  assert.deepEqual(syms(E.sortRows(t, all, { key: "pe", desc: true })), ["EEE", "CCC", "AAA", "DDD", "BBB"]);
  assert.deepEqual(syms(E.sortRows(t, all, { key: "rating", desc: true })), ["AAA", "DDD", "EEE", "BBB", "CCC"]);
  assert.deepEqual(syms(E.sortRows(t, all, { key: "sector", desc: false })), ["BBB", "DDD", "CCC", "AAA", "EEE"]);
  assert.deepEqual(syms(E.sortRows(t, all, { key: "ipo", desc: true })), ["EEE", "BBB", "DDD", "AAA", "CCC"]);
});

test("pages clamp to the rows there are", () => {
  const rows = Array.from({ length: 120 }, (_, i) => i);
  assert.deepEqual(E.pageOf(rows, 3, 50), { rows: rows.slice(100), page: 3, pages: 3, first: 101, last: 120 });
  assert.equal(E.pageOf(rows, 9, 50).page, 3);
  assert.equal(E.pageOf(rows, 0, 50).page, 1);
  assert.deepEqual(E.pageOf([], 2, 50), { rows: [], page: 1, pages: 1, first: 0, last: 0 });
});

test("choices are counted, most common first", () => {
  assert.deepEqual(E.choices(smallTable(), "sector"), [
    { value: "Energy", slug: "energy", count: 2 },
    { value: "Technology", slug: "technology", count: 2 },
    { value: "Real Estate", slug: "real-estate", count: 1 },
  ]);
});

test("results hold every matching row in order with the chosen columns", () => {
  const t = smallTable();
  const s = stateOf("sector=energy,technology&cols=s,mcap,rating,ma&sort=mcap&rows=50&page=1");
  const r = E.results(t, s, "https://site/screener.html#x");
  assert.equal(r.version, 1);
  assert.equal(r.screener, "stocks");
  assert.equal(r.asof, "2025-06-13");
  assert.equal(r.url, "https://site/screener.html#x");
  assert.equal(r.total, 4);
  assert.deepEqual(r.columns, [
    { key: "s", label: "Symbol", type: "text", signed: false },
    { key: "mcap", label: "Market cap", type: "money", signed: false },
    { key: "rating", label: "Rating", type: "rating", signed: false },
    { key: "ma", label: "MA cross", type: "sig", signed: false },
  ]);
  assert.deepEqual(r.rows, [["BBB", 2e8, 2.1, -1], ["EEE", 7e8, 3.6, 0], ["DDD", 1.5e9, 3.6, 1],
                            ["AAA", 5e9, 4.6, 1]]);
});

test("results are not limited to the page on screen", () => {
  const t = smallTable();
  for (let i = 0; i < 200; i++) t.rows.push(["Z" + i, "Filler", "Energy", 1e6 + i, 1, 0, null, null, 1, 1, null, 1, null, 0, "2000-01-01"]);
  const r = E.results(t, stateOf("sector=energy&rows=50&page=2"), "u");
  assert.equal(r.rows.length, 202);
  assert.equal(r.total, 202);
});

test("results keep missing values as null and survive JSON", () => {
  const r = E.results(smallTable(), stateOf("cols=s,dy,de,rating"), "u");
  const back = JSON.parse(JSON.stringify(r));
  assert.deepEqual(back, r);
  assert.ok(r.rows.some((row) => row.includes(null)));
});
