"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { load } = require("./helpers.js");

const F = load("format.js");

test("grouped numbers", () => {
  assert.equal(F.grouped(1234567.891, 2), "1,234,567.89");
  assert.equal(F.grouped(-0.004, 2), "0.00");
  assert.equal(F.grouped(-1234, 0), "-1,234");
  assert.equal(F.grouped(999, 0), "999");
});

test("compact money at the thresholds", () => {
  const cases = [[999949, "$999.9K"], [999950, "$1.00M"], [999994999, "$999.99M"],
                 [999995000, "$1.00B"], [2.5e12, "$2.50T"], [-1234, "-$1.2K"], [0, "$0"],
                 [999.4, "$999"], [999.5, "$1.0K"]];
  for (const [v, want] of cases) assert.equal(F.money(v), want, String(v));
});

test("cell texts by column type", () => {
  const cases = [
    [12.345, { type: "pct", signed: true }, "+12.35%"],
    [-3.2, { type: "pct", signed: true }, "-3.20%"],
    [0.001, { type: "pct", signed: true }, "0.00%"],
    [4.5, { type: "pct", signed: false }, "4.50%"],
    [1234.5, { type: "price" }, "$1,234.50"],
    [2, { type: "lev" }, "2.0x"],
    [-3, { type: "lev" }, "-3.0x"],
    [15000, { type: "int" }, "15,000"],
    [4.62, { type: "rating" }, "Strong Buy 4.62"],
    [1, { type: "sig" }, "Golden cross"],
    [-1, { type: "sig" }, "Death cross"],
    [0, { type: "sig" }, "-"],
    ["2020-01-02", { type: "date" }, "2020-01-02"],
    [null, { type: "num" }, "-"],
    [7.123, { type: "score" }, "7.12"],
  ];
  for (const [v, col, want] of cases) assert.equal(F.cell(v, col), want, JSON.stringify([v, col]));
});

test("rating words", () => {
  assert.equal(F.ratingWord(4.5), "Strong Buy");
  assert.equal(F.ratingWord(4.49), "Buy");
  assert.equal(F.ratingWord(2.5), "Hold");
  assert.equal(F.ratingWord(1.5), "Sell");
  assert.equal(F.ratingWord(1.0), "Strong Sell");
});

test("typed filter bounds", () => {
  assert.equal(F.parseInput("1.5B"), 1.5e9);
  assert.equal(F.parseInput("250m"), 2.5e8);
  assert.equal(F.parseInput("$2,000"), 2000);
  assert.equal(F.parseInput("-3"), -3);
  assert.equal(F.parseInput("4.5%"), 4.5);
  assert.equal(F.parseInput("0.1"), 0.1);
  assert.equal(F.parseInput("abc"), null);
  assert.equal(F.parseInput("1e999"), null);
  assert.equal(F.parseInput(""), null);
});

test("value tones", () => {
  assert.equal(F.tone(2.5, { type: "pct", signed: true }), "up");
  assert.equal(F.tone(-2.5, { type: "pct", signed: true }), "down");
  assert.equal(F.tone(2.5, { type: "pct", signed: false }), "");
  assert.equal(F.tone(1, { type: "lev", signed: true }), "");
  assert.equal(F.tone(3, { type: "lev", signed: true }), "up");
  assert.equal(F.tone(-1, { type: "lev", signed: true }), "down");
  assert.equal(F.tone(-1, { type: "sig" }), "down");
  assert.equal(F.tone(4.6, { type: "rating" }), "rating r5");
  assert.equal(F.tone("x", { type: "pct", signed: true }), "");
});
