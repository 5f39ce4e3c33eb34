/* Screen state <-> URL fragment.
 *
 * The whole screen lives in the fragment so that a bookmark or a saved screen reopens it:
 *   sector=technology,energy&mcap=1000000000..&q=app&cols=s,name,mcap&sort=-mcap&page=2&rows=100
 * A filter is written under its column key: a range as "min..max" (either side may be
 * empty), a choice as comma-separated slugs, a moving-average signal as golden, death or
 * none. Only the characters a-z 0-9 . , - = & and percent escapes of the search text
 * appear, so the fragment survives address bars, bookmarks and saved-screen files.
 * Decoding ignores what it does not understand, so an edited fragment never breaks the page.
 */
(function (root, factory) {
  "use strict";
  if (typeof module === "object" && module.exports) module.exports = factory();
  else (root.VXS = root.VXS || {}).state = factory();
})(typeof self !== "undefined" ? self : this, function () {
  "use strict";

  var PAGE_SIZES = [50, 100, 500];
  var RESERVED = { q: 1, cols: 1, sort: 1, page: 1, rows: 1 };
  var SIGNALS = ["golden", "death", "none"];
  var DATE_RE = /^\d{4}-\d{2}-\d{2}$/;
  var MAX_QUERY = 100;

  function slugify(text) {
    return String(text).toLowerCase().replace(/[^a-z0-9]+/g, "-").replace(/^-+|-+$/g, "");
  }

  function columnMap(columns) {
    var map = {};
    columns.forEach(function (c) { map[c.key] = c; });
    return map;
  }

  function numberText(v) {
    // String(1e21) would give "1e+21"; "+" is fine in a fragment but keep it plain.
    return String(v).replace("e+", "e");
  }

  function parseBound(text, column) {
    if (text === "") return null;
    if (column.type === "date") return DATE_RE.test(text) ? text : undefined;
    if (!/^-?(\d+\.?\d*|\.\d+)(e-?\d+)?$/i.test(text)) return undefined;
    var v = Number(text);
    return isFinite(v) ? v : undefined;
  }

  function decodeFilter(key, value, column) {
    if (column.filter === "range") {
      var parts = value.split("..");
      if (parts.length !== 2) return null;
      var min = parseBound(parts[0], column), max = parseBound(parts[1], column);
      if (min === undefined || max === undefined || (min === null && max === null)) return null;
      return { key: key, kind: "range", min: min, max: max };
    }
    if (column.filter === "choice") {
      var seen = {};
      var values = value.split(",").filter(function (v) {
        var ok = /^[a-z0-9][a-z0-9-]*$/.test(v) && !seen[v];
        seen[v] = true;
        return ok;
      });
      return values.length ? { key: key, kind: "choice", values: values } : null;
    }
    if (column.filter === "signal") {
      return SIGNALS.indexOf(value) >= 0 ? { key: key, kind: "signal", value: value } : null;
    }
    return null;
  }

  function safeDecode(text) {
    try {
      return decodeURIComponent(text.replace(/\+/g, " "));
    } catch (e) {
      return null;
    }
  }

  /* Reads a fragment (with or without the leading "#"). Returns the parts it found:
   * {filters: [...], q, cols, sort, page, rows}; parts that are absent stay undefined,
   * except filters, which is always a list. */
  function decode(fragment, columns) {
    var byKey = columnMap(columns);
    var out = { filters: [] };
    var seenFilter = {};
    var text = String(fragment || "").replace(/^#/, "");
    if (!text) return out;
    text.split("&").forEach(function (pair) {
      var eq = pair.indexOf("=");
      if (eq <= 0) return;
      var key = pair.slice(0, eq), value = pair.slice(eq + 1);
      if (key === "q") {
        var q = safeDecode(value);
        if (q !== null) out.q = q.trim().slice(0, MAX_QUERY);
      } else if (key === "cols") {
        var cols = [];
        value.split(",").forEach(function (k) {
          if (byKey[k] && cols.indexOf(k) < 0) cols.push(k);
        });
        if (cols.length) out.cols = cols;
      } else if (key === "sort") {
        var desc = value.charAt(0) === "-";
        var sk = desc ? value.slice(1) : value;
        if (byKey[sk]) out.sort = { key: sk, desc: desc };
      } else if (key === "page") {
        if (/^\d{1,6}$/.test(value) && Number(value) >= 1) out.page = Number(value);
      } else if (key === "rows") {
        if (PAGE_SIZES.indexOf(Number(value)) >= 0 && /^\d+$/.test(value)) out.rows = Number(value);
      } else if (!RESERVED[key] && byKey[key] && !seenFilter[key]) {
        var f = decodeFilter(key, value, byKey[key]);
        if (f) {
          seenFilter[key] = true;
          out.filters.push(f);
        }
      }
    });
    return out;
  }

  function encodeFilter(f) {
    if (f.kind === "range") {
      var lo = f.min === null || f.min === undefined ? "" : f.min;
      var hi = f.max === null || f.max === undefined ? "" : f.max;
      return f.key + "=" + (typeof lo === "number" ? numberText(lo) : lo) + ".." +
        (typeof hi === "number" ? numberText(hi) : hi);
    }
    if (f.kind === "choice") return f.key + "=" + f.values.join(",");
    return f.key + "=" + f.value;
  }

  /* Writes a complete state: filters in the order they were added, then the search text,
   * columns, sort, page and page size. */
  function encode(state) {
    var parts = state.filters.map(encodeFilter);
    if (state.q) parts.push("q=" + encodeURIComponent(state.q).replace(/[!'()*~]/g, function (c) {
      return "%" + c.charCodeAt(0).toString(16).toUpperCase();
    }));
    parts.push("cols=" + state.cols.join(","));
    parts.push("sort=" + (state.sort.desc ? "-" : "") + state.sort.key);
    parts.push("page=" + state.page);
    parts.push("rows=" + state.rows);
    return parts.join("&");
  }

  /* The full state of a page: the fragment when it has one, else the page's own defaults
   * (a preset's filters and columns). Missing columns, sort and sizes fall back to the
   * defaults; the symbol column is always shown, first. */
  function resolve(fragment, columns, defaults) {
    var text = String(fragment || "").replace(/^#/, "");
    var base = decode(defaults.preset || "", columns);
    var given = text ? decode(text, columns) : base;
    var cols = given.cols || base.cols || defaults.cols.slice();
    cols = cols.filter(function (k) { return k !== "s"; });
    cols.unshift("s");
    return {
      filters: given.filters,
      q: given.q || "",
      cols: cols,
      sort: given.sort || base.sort || { key: defaults.sort.key, desc: defaults.sort.desc },
      page: given.page || 1,
      rows: given.rows || base.rows || PAGE_SIZES[0],
    };
  }

  return {
    PAGE_SIZES: PAGE_SIZES,
    SIGNALS: SIGNALS,
    slugify: slugify,
    decode: decode,
    encode: encode,
    resolve: resolve,
  };
});
