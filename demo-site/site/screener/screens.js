/* What a screener page shows before the user changes anything: its columns, sort order and
 * the words for its rows. Presets add their own filters, columns and sort on top. */
(function (root, factory) {
  "use strict";
  if (typeof module === "object" && module.exports) module.exports = factory();
  else (root.VXS = root.VXS || {}).screens = factory();
})(typeof self !== "undefined" ? self : this, function () {
  "use strict";
  return {
    stocks: {
      cols: ["s", "name", "sector", "mcap", "price", "ch1d", "dy", "pe", "emp", "volume", "de",
             "quality", "rating", "ma", "ipo"],
      sort: { key: "mcap", desc: true },
      noun: ["stock", "stocks"],
    },
    etfs: {
      cols: ["s", "name", "asset", "issuer", "aum", "price", "ch1d", "ch1y", "er", "dy",
             "holdings", "lev", "ma", "inception"],
      sort: { key: "aum", desc: true },
      noun: ["ETF", "ETFs"],
    },
    /* The defaults of one page: its kind's, plus the preset's fragment when it has one. */
    forPage: function (kind, preset) {
      var base = this[kind];
      return { cols: base.cols.slice(), sort: { key: base.sort.key, desc: base.sort.desc },
               noun: base.noun, preset: preset || "" };
    },
  };
});
