/* The results table and the pager under it. Result rows carry the symbol in td.sx-sym with
 * a link to the symbol's page. */
(function (root) {
  "use strict";
  var E = root.VXS.engine, F = root.VXS.format, el = root.VXS.dom.el, clear = root.VXS.dom.clear;
  var NUMERIC = { money: 1, price: 1, pct: 1, num: 1, int: 1, cnt: 1, lev: 1, score: 1,
                  rating: 1, sig: 1 };

  root.VXS.resultsTable = function (ctx) {
    function symbolCell(sym) {
      var href = "/" + ctx.kind + "/" + String(sym).toLowerCase() + ".html";
      return el("td", { class: "sx-sym" }, [el("a", { href: href, text: sym })]);
    }

    function headerCell(c) {
      var sort = ctx.state.sort, active = sort.key === c.key;
      var arrow = active ? (sort.desc ? " \u25bc" : " \u25b2") : "";
      return el("th", {
        class: (NUMERIC[c.type] && c.type !== "sig" ? "num" : "") + (active ? " sorted" : ""),
        "aria-sort": active ? (sort.desc ? "descending" : "ascending") : null,
        scope: "col",
      }, [el("button", { type: "button", text: c.label + arrow, title: "Sort by " + c.label,
        onclick: function () {
          var s = ctx.state.sort;
          // Numbers sort largest first on the first click, text from A.
          if (s.key === c.key) s.desc = !s.desc;
          else ctx.state.sort = { key: c.key, desc: !!NUMERIC[c.type] };
          ctx.changed();
        } })]);
    }

    function valueCell(v, c) {
      var cls = [];
      if (NUMERIC[c.type] && c.type !== "sig" && c.type !== "rating") cls.push("num");
      if (c.key === "name") cls.push("name");
      else if (c.type === "text") cls.push("text");
      var tone = F.tone(v, c);
      if (tone) cls.push(tone);
      var text = F.cell(v, c);
      var content = c.type === "rating" && typeof v === "number" ?
        [el("span", { class: "badge", text: F.ratingWord(v) }), " " + v.toFixed(2)] : [text];
      return el("td", { class: cls.join(" ") || null, title: c.type === "text" ? text : null },
                content);
    }

    function render() {
      var state = ctx.state, view = ctx.view, table = ctx.table;
      var rows = E.matching(table, state);
      var page = E.pageOf(rows, state.page, state.rows);
      state.page = page.page;
      var nouns = ctx.defaults.noun;
      view.count.textContent = F.grouped(rows.length, 0) + " " +
        (rows.length === 1 ? nouns[0] : nouns[1]);
      var cols = state.cols.map(function (k) { return ctx.byKey[k]; }).filter(Boolean);
      var idx = {};
      table.columns.forEach(function (c, i) { idx[c.key] = i; });
      var tbody = el("tbody");
      page.rows.forEach(function (r) {
        tbody.appendChild(el("tr", null, cols.map(function (c) {
          var v = r[idx[c.key]];
          return c.key === "s" ? symbolCell(v) : valueCell(v, c);
        })));
      });
      clear(view.tableWrap);
      view.tableWrap.appendChild(el("table", { class: "results-table" }, [
        el("thead", null, [el("tr", null, cols.map(headerCell))]), tbody]));
      if (!page.rows.length) {
        view.tableWrap.appendChild(el("p", { class: "empty", text: "No " + nouns[1] +
          " match these filters. Loosen or clear a filter to see results." }));
      }
      renderPager(page, rows.length);
    }

    function pageButton(text, title, enabled, target) {
      return el("button", { type: "button", text: text, title: title, disabled: !enabled,
        onclick: function () {
          ctx.state.page = target;
          ctx.changed({ keepPage: true });
          ctx.view.tableWrap.scrollIntoView({ block: "start" });
        } });
    }

    function renderPager(page, total) {
      var p = ctx.view.pager;
      clear(p);
      p.appendChild(el("span", { class: "range-text", text: total ?
        "Showing " + F.grouped(page.first, 0) + "\u2013" + F.grouped(page.last, 0) + " of " +
        F.grouped(total, 0) : "" }));
      p.appendChild(el("span", { class: "pages" }, [
        pageButton("\u00ab", "First page", page.page > 1, 1),
        pageButton("\u2039 Prev", "Previous page", page.page > 1, page.page - 1),
        el("span", { class: "page-no", text: "Page " + page.page + " of " + page.pages }),
        pageButton("Next \u203a", "Next page", page.page < page.pages, page.page + 1),
        pageButton("\u00bb", "Last page", page.page < page.pages, page.pages),
      ]));
    }

    return { render: render };
  };
})(self);
