// Shared pieces of the screener script tests: the modules under test and small tables.
"use strict";
const path = require("node:path");
const { execFileSync } = require("node:child_process");

const SITE = path.join(__dirname, "..", "..", "..", "demo-site");
const SCREENER = path.join(SITE, "site", "screener");

function load(name) {
  return require(path.join(SCREENER, name));
}

// Generated data as the server serves it, straight from the generator.
function generated(which, sizes) {
  const args = ["-m", "vxsite.universe", which].concat((sizes || []).map(String));
  const out = execFileSync(process.env.PYTHON || "python3", args, { cwd: SITE, maxBuffer: 1 << 28 });
  return JSON.parse(out.toString("utf8"));
}

function presets() {
  return require(path.join(SITE, "presets.json"));
}

// A small stock table with every column type and some missing values.
function smallTable() {
  const columns = [
    { key: "s", label: "Symbol", type: "text", signed: false, filter: "", group: "D" },
    { key: "name", label: "Name", type: "text", signed: false, filter: "", group: "D" },
    { key: "sector", label: "Sector", type: "text", signed: false, filter: "choice", group: "D" },
    { key: "mcap", label: "Market cap", type: "money", signed: false, filter: "range", group: "D" },
    { key: "price", label: "Price", type: "price", signed: false, filter: "range", group: "D" },
    { key: "ch1d", label: "Change 1D", type: "pct", signed: true, filter: "range", group: "P" },
    { key: "dy", label: "Div. yield", type: "pct", signed: false, filter: "range", group: "V" },
    { key: "pe", label: "P/E", type: "num", signed: false, filter: "range", group: "V" },
    { key: "emp", label: "Employees", type: "int", signed: false, filter: "range", group: "F" },
    { key: "volume", label: "Volume", type: "cnt", signed: false, filter: "range", group: "D" },
    { key: "de", label: "Debt/equity", type: "lev", signed: false, filter: "range", group: "F" },
    { key: "quality", label: "Quality", type: "score", signed: false, filter: "range", group: "F" },
    { key: "rating", label: "Rating", type: "rating", signed: false, filter: "range", group: "A" },
    { key: "ma", label: "MA cross", type: "sig", signed: false, filter: "signal", group: "T" },
    { key: "ipo", label: "IPO date", type: "date", signed: false, filter: "range", group: "D" },
  ];
  const rows = [
    ["AAA", "Alpha Corp.", "Technology", 5e9, 10.5, 1.25, 2.1, 15.2, 1200, 5000, 0.5, 6.1, 4.6, 1, "2001-05-01"],
    ["BBB", "Beta Inc.", "Energy", 2e8, 3.2, -2.5, null, null, 80, 90000, 1.8, 3.2, 2.1, -1, "2019-11-30"],
    ["CCC", "Gamma Holdings", "Real Estate", 9e10, 55, 0, 6.4, 30.1, 15000, 120000, null, 7.7, null, 0, "1995-02-14"],
    ["DDD", "Delta Energy Co.", "Energy", 1.5e9, 22, 0.4, 4.0, 9.9, 3000, 70000, 2.2, 5, 3.6, 1, "2010-07-07"],
    ["EEE", "Epsilon Tech", "Technology", 7e8, 4.99, 3.1, null, 55, 450, 300000, 0.1, 4.4, 3.6, 0, "2021-01-15"],
  ];
  return { version: 1, screener: "stocks", asof: "2025-06-13", columns, rows };
}

module.exports = { load, generated, presets, smallTable, SITE };
