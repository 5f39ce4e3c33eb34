/* Filtering, sorting, paging and the results object of the screener.
 *
 * A data table is {screener, asof, columns: [{key, label, type, signed, filter}], rows:
 * [[value per column]]}. Everything here is pure: the page calls it on every change, and
 * the tests call it without a browser.
 */
(function (root, factory) {
  "use strict";
  if (typeof module === "object" && module.exports) module.exports = factory(require("./state.js"));
  else (root.VXS = root.VXS || {}).engine = factory(root.VXS.state);
})(typeof self !== "undefined" ? self : this, function (stateLib) {
  "use strict";

  function indexOfKey(table) {
    var idx = {};
    table.columns.forEach(function (c, i) { idx[c.key] = i; });
    return idx;
  }

  function rangeTest(f) {
    var min = f.min, max = f.max;
    return function (v) {
      if (v === null || v === undefined || typeof v !== typeof (min !== null ? min : max)) {
        return false;
      }
      return (min === null || v >= min) && (max === null || v <= max);
    };
  }

  function choiceTest(f) {
    var wanted = {};
    f.values.forEach(function (v) { wanted[v] = true; });
    var cache = {};
    return function (v) {
      if (typeof v !== "string") return false;
      if (!(v in cache)) cache[v] = stateLib.slugify(v);
      return wanted[cache[v]] === true;
    };
  }

  function signalTest(f) {
    return function (v) {
      if (typeof v !== "number") return false;
      return f.value === "golden" ? v > 0 : f.value === "death" ? v < 0 : v === 0;
    };
  }

  /* The rows (as arrays of the table) that pass every filter and the search text. */
  function filterRows(table, state) {
    var idx = indexOfKey(table);
    var tests = [];
    state.filters.forEach(function (f) {
      if (!(f.key in idx)) return;
      var t = f.kind === "range" ? rangeTest(f) :
        f.kind === "choice" ? choiceTest(f) : signalTest(f);
      tests.push({ i: idx[f.key], t: t });
    });
    var q = (state.q || "").toUpperCase();
    var symI = idx.s, nameI = idx.name;
    return table.rows.filter(function (row) {
      for (var k = 0; k < tests.length; k++) {
        if (!tests[k].t(row[tests[k].i])) return false;
      }
      if (q) {
        var sym = String(row[symI] || "").toUpperCase();
        var name = nameI === undefined ? "" : String(row[nameI] || "").toUpperCase();
        if (sym.indexOf(q) !== 0 && name.indexOf(q) < 0) return false;
      }
      return true;
    });
  }

  function compareValues(a, b) {
    if (typeof a === "number" && typeof b === "number") return a - b;
    var x = String(a).toLowerCase(), y = String(b).toLowerCase();
    return x < y ? -1 : x > y ? 1 : 0;
  }

  /* Sorted copy. Missing values go last in both directions; ties keep the table order
   * (the symbol order), so the same state always gives the same row order. */
  function sortRows(table, rows, sort) {
    var i = indexOfKey(table)[sort.key];
    if (i === undefined) return rows.slice();
    var dir = sort.desc ? -1 : 1;
    var order = new Map();
    rows.forEach(function (r, n) { order.set(r, n); });
    return rows.slice().sort(function (ra, rb) {
      var a = ra[i], b = rb[i];
      var ma = a === null || a === undefined, mb = b === null || b === undefined;
      if (ma || mb) return ma && mb ? order.get(ra) - order.get(rb) : ma ? 1 : -1;
      var c = compareValues(a, b) * dir;
      return c !== 0 ? c : order.get(ra) - order.get(rb);
    });
  }

  function matching(table, state) {
    return sortRows(table, filterRows(table, state), state.sort);
  }

  function pageCount(count, size) {
    return Math.max(1, Math.ceil(count / size));
  }

  /* One page of rows: {rows, page, pages, first (1-based, 0 when empty), last}. */
  function pageOf(rows, page, size) {
    var pages = pageCount(rows.length, size);
    var p = Math.min(Math.max(1, page), pages);
    var start = (p - 1) * size;
    var slice = rows.slice(start, start + size);
    return { rows: slice, page: p, pages: pages, first: slice.length ? start + 1 : 0,
             last: start + slice.length };
  }

  /* The results object handed to programs that read the page: every matching row (not just
   * the page on screen), in the current order, with the current columns. */
  function results(table, state, url) {
    var idx = indexOfKey(table);
    var cols = state.cols.filter(function (k) { return k in idx; });
    var rows = matching(table, state).map(function (row) {
      return cols.map(function (k) {
        var v = row[idx[k]];
        return v === undefined ? null : v;
      });
    });
    return {
      version: 1,
      screener: table.screener,
      asof: table.asof,
      url: url,
      total: rows.length,
      columns: cols.map(function (k) {
        var c = table.columns[idx[k]];
        return { key: c.key, label: c.label, type: c.type, signed: !!c.signed };
      }),
      rows: rows,
    };
  }

  /* The distinct values of a choice column with their counts, most common first. */
  function choices(table, key) {
    var i = indexOfKey(table)[key];
    var counts = {};
    table.rows.forEach(function (r) {
      var v = r[i];
      if (typeof v === "string" && v) counts[v] = (counts[v] || 0) + 1;
    });
    return Object.keys(counts).sort(function (a, b) {
      return counts[b] - counts[a] || (a < b ? -1 : 1);
    }).map(function (v) { return { value: v, slug: stateLib.slugify(v), count: counts[v] }; });
  }

  return {
    filterRows: filterRows,
    sortRows: sortRows,
    matching: matching,
    pageOf: pageOf,
    results: results,
    choices: choices,
  };
});
