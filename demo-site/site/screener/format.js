/* Display texts of cell values, by column type. Numbers always use "." and "," whatever the
 * reader's locale, like the rest of the site. */
(function (root, factory) {
  "use strict";
  if (typeof module === "object" && module.exports) module.exports = factory();
  else (root.VXS = root.VXS || {}).format = factory();
})(typeof self !== "undefined" ? self : this, function () {
  "use strict";

  function grouped(v, decimals) {
    var t = Math.abs(v).toFixed(decimals);
    var dot = t.indexOf(".");
    var whole = dot < 0 ? t : t.slice(0, dot), frac = dot < 0 ? "" : t.slice(dot);
    whole = whole.replace(/\B(?=(\d{3})+(?!\d))/g, ",");
    var neg = v < 0 && /[1-9]/.test(t);
    return (neg ? "-" : "") + whole + frac;
  }

  function money(v) {
    var a = Math.abs(v), t;
    if (a >= 999995000000) t = grouped(a / 1e12, 2) + "T";
    else if (a >= 999995000) t = grouped(a / 1e9, 2) + "B";
    else if (a >= 999950) t = grouped(a / 1e6, 2) + "M";
    else if (a >= 999.5) t = grouped(a / 1e3, 1) + "K";
    else t = grouped(a, 0);
    return (v < 0 && /[1-9]/.test(t) ? "-$" : "$") + t;
  }

  /* Counts such as volume: exact below ten thousand, then 12.9K, 4.57M, 1.20B. */
  function compactCount(v) {
    var a = Math.abs(v);
    if (a < 10000) return grouped(v, 0);
    var units = [[1e9, "B"], [1e6, "M"], [1e3, "K"]];
    for (var i = 0; i < units.length; i++) {
      if (a >= units[i][0] * 0.9995 || units[i][1] === "K") {
        var q = v / units[i][0];
        return grouped(q, Math.abs(q) < 100 ? 2 : 1) + units[i][1];
      }
    }
    return grouped(v, 0);
  }

  function ratingWord(v) {
    if (v >= 4.5) return "Strong Buy";
    if (v >= 3.5) return "Buy";
    if (v >= 2.5) return "Hold";
    if (v >= 1.5) return "Sell";
    return "Strong Sell";
  }

  /* Text of one value; "-" for a missing one. */
  function cell(v, column) {
    if (v === null || v === undefined) return "-";
    if (typeof v !== "number") return String(v);
    switch (column.type) {
      case "money": return money(v);
      case "price": return (v < 0 ? "-$" : "$") + grouped(Math.abs(v), 2);
      case "pct": {
        var t = grouped(v, 2);
        return (column.signed && v > 0 && t !== "0.00" ? "+" : "") + t + "%";
      }
      case "int": return grouped(v, 0);
      case "cnt": return compactCount(v);
      case "lev": return grouped(v, 1) + "x";
      case "rating": return ratingWord(v) + " " + v.toFixed(2);
      case "sig": return v > 0 ? "Golden cross" : v < 0 ? "Death cross" : "-";
      default: return grouped(v, 2);
    }
  }

  /* A CSS class that colours the value: up, down, or a rating/signal tone. */
  function tone(v, column) {
    if (typeof v !== "number") return "";
    if (column.type === "sig") return v > 0 ? "up" : v < 0 ? "down" : "muted";
    if (column.type === "rating") return "rating r" + Math.round(Math.min(5, Math.max(1, v)));
    if (column.type === "pct" && column.signed) return v > 0 ? "up" : v < 0 ? "down" : "";
    // Leverage: plain funds (1x) stay neutral; leveraged long and inverse funds are coloured.
    if (column.type === "lev" && column.signed) return v > 1 ? "up" : v < 0 ? "down" : "";
    return "";
  }

  /* Reads a number typed into a filter box: "1.5B", "250m", "-3", "2,000". */
  function parseInput(text) {
    var t = String(text).trim().replace(/,/g, "").replace(/^\$/, "").replace(/%$/, "");
    var m = /^(-?(?:\d+\.?\d*|\.\d+))\s*([kmbt]?)$/i.exec(t);
    if (!m) return null;
    var mult = { "": 1, k: 1e3, m: 1e6, b: 1e9, t: 1e12 }[m[2].toLowerCase()];
    var v = Number(m[1]) * mult;
    return isFinite(v) ? Number(v.toPrecision(12)) : null;
  }

  return { grouped: grouped, money: money, ratingWord: ratingWord, cell: cell, tone: tone,
           parseInput: parseInput };
});
