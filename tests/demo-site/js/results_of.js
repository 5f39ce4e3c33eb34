// Prints what getResults() returns on given screens, computed by the page's own modules
// the way the page computes it. Reads a JSON request on standard input:
//   {"tables": {"stocks": <data file>, "etfs": <data file>},
//    "screens": [{"kind", "preset", "fragment", "url"}]}
// and writes the JSON list of results objects, one per screen, to standard output.
"use strict";
const fs = require("node:fs");
const { load } = require("./helpers.js");

const S = load("state.js");
const E = load("engine.js");
const screens = load("screens.js");

const request = JSON.parse(fs.readFileSync(0, "utf8"));
const out = request.screens.map((screen) => {
  const table = request.tables[screen.kind];
  const defaults = screens.forPage(screen.kind, screen.preset || "");
  const state = S.resolve(screen.fragment || "", table.columns, defaults);
  return E.results(table, state, screen.url);
});
process.stdout.write(JSON.stringify(out));
