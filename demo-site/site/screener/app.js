/* The screener page: loads the data file, builds the filter panel, the column chooser, the
 * table and the pager, and keeps the whole screen in the URL fragment. The logic it calls
 * lives in state.js, engine.js and format.js. */
(function () {
  "use strict";
  var S = window.VXS.state, E = window.VXS.engine, F = window.VXS.format;
  var root = document.getElementById("screener");
  if (!root) return;

  var KIND = root.getAttribute("data-kind");
  var DEFAULTS = window.VXS.screens.forPage(KIND, root.getAttribute("data-preset"));

  var html = document.documentElement;
  var hookOff = html.getAttribute("data-vx-hook") === "off";
  var nullMs = Number(html.getAttribute("data-vx-null-ms")) || 0;
  var NUMERIC = { money: 1, price: 1, pct: 1, num: 1, int: 1, cnt: 1, lev: 1, score: 1, rating: 1,
                  sig: 1 };

  var table = null, state = null, loadedAt = 0, lastFragment = null, byKey = {};
  var view = {};

  if (!hookOff) {
    // Programs that host the page read every matching row through this hook.
    window.VXScreener = {
      version: 1,
      getResults: function () {
        if (!table || !state) return null;
        if (nullMs && Date.now() - loadedAt < nullMs) return null;
        return E.results(table, state, location.href);
      },
    };
  }

  function el(tag, attrs, children) {
    var node = document.createElement(tag);
    if (attrs) {
      Object.keys(attrs).forEach(function (k) {
        if (k === "text") node.textContent = attrs[k];
        else if (k.slice(0, 2) === "on") node.addEventListener(k.slice(2), attrs[k]);
        else if (attrs[k] !== null && attrs[k] !== undefined && attrs[k] !== false) {
          node.setAttribute(k, attrs[k] === true ? "" : attrs[k]);
        }
      });
    }
    (children || []).forEach(function (c) {
      if (c !== null && c !== undefined) node.appendChild(typeof c === "string" ? document.createTextNode(c) : c);
    });
    return node;
  }

  function clear(node) {
    while (node.firstChild) node.removeChild(node.firstChild);
  }

  function plural(n) {
    return F.grouped(n, 0) + " " + (n === 1 ? DEFAULTS.noun[0] : DEFAULTS.noun[1]);
  }

  function asofText(iso) {
    var months = ["January", "February", "March", "April", "May", "June", "July", "August",
                  "September", "October", "November", "December"];
    var m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(iso || "");
    return m ? "Data as of market close, " + months[Number(m[2]) - 1] + " " + Number(m[3]) + ", " + m[1] : "";
  }

  // ---- fragment -------------------------------------------------------------------------

  var writeTimer = 0;
  function writeFragment(soon) {
    clearTimeout(writeTimer);
    var write = function () {
      var frag = S.encode(state);
      lastFragment = frag;
      if (location.hash.replace(/^#/, "") !== frag) history.replaceState(history.state, "", "#" + frag);
    };
    if (soon) writeTimer = setTimeout(write, 300);
    else write();
  }

  function readFragment() {
    var frag = location.hash.replace(/^#/, "");
    state = S.resolve(frag, table.columns, DEFAULTS);
    lastFragment = frag;
  }

  function changed(opts) {
    if (!opts || !opts.keepPage) state.page = 1;
    renderResults();
    renderChips();
    refreshTabCounts();
    writeFragment(opts && opts.soon);
  }

  // ---- filters --------------------------------------------------------------------------

  function findFilter(key) {
    for (var i = 0; i < state.filters.length; i++) if (state.filters[i].key === key) return i;
    return -1;
  }

  function setFilter(f, key) {
    var i = findFilter(key);
    if (f && i >= 0) state.filters[i] = f;
    else if (f) state.filters.push(f);
    else if (i >= 0) state.filters.splice(i, 1);
  }

  function boundText(v, column) {
    if (v === null || v === undefined) return "";
    if (column.type === "money" && typeof v === "number") {
      var units = [[1e12, "T"], [1e9, "B"], [1e6, "M"], [1e3, "K"]];
      for (var i = 0; i < units.length; i++) {
        var q = v / units[i][0];
        if (Math.abs(v) >= units[i][0] && Number(q.toFixed(3)) === q) return q + units[i][1];
      }
    }
    return String(v);
  }

  function readBound(input, column) {
    var t = input.value.trim();
    if (!t) return { ok: true, v: null };
    if (column.type === "date") return { ok: /^\d{4}-\d{2}-\d{2}$/.test(t), v: t };
    var v = F.parseInput(t);
    return { ok: v !== null, v: v };
  }

  function rangeBlock(column) {
    var i = findFilter(column.key);
    var f = i >= 0 ? state.filters[i] : null;
    var ph = column.type === "date" ? ["YYYY-MM-DD", "YYYY-MM-DD"] :
      column.type === "money" ? ["Min, e.g. 2B", "Max"] : ["Min", "Max"];
    var lo = el("input", { type: "text", inputmode: column.type === "date" ? null : "decimal",
                           placeholder: ph[0], value: f ? boundText(f.min, column) : "",
                           "aria-label": column.label + " minimum" });
    var hi = el("input", { type: "text", inputmode: column.type === "date" ? null : "decimal",
                           placeholder: ph[1], value: f ? boundText(f.max, column) : "",
                           "aria-label": column.label + " maximum" });
    function update() {
      var a = readBound(lo, column), b = readBound(hi, column);
      lo.classList.toggle("bad", !a.ok);
      hi.classList.toggle("bad", !b.ok);
      if (!a.ok || !b.ok) return;
      var nf = a.v === null && b.v === null ? null :
        { key: column.key, kind: "range", min: a.v, max: b.v };
      setFilter(nf, column.key);
      changed({ soon: true });
    }
    lo.addEventListener("input", update);
    hi.addEventListener("input", update);
    return el("div", { class: "filter range" + (f ? " on" : ""), "data-key": column.key }, [
      el("label", { text: column.label }),
      el("div", { class: "pair" }, [lo, el("span", { class: "dash", text: "to" }), hi]),
    ]);
  }

  function choiceBlock(column) {
    var i = findFilter(column.key);
    var chosen = i >= 0 ? state.filters[i].values : [];
    var opts = E.choices(table, column.key);
    var box = el("div", { class: "choices" + (opts.length > 8 ? " long" : "") });
    opts.forEach(function (o) {
      var cb = el("input", { type: "checkbox", value: o.slug, checked: chosen.indexOf(o.slug) >= 0 });
      cb.addEventListener("change", function () {
        var values = Array.prototype.map.call(box.querySelectorAll("input:checked"),
          function (x) { return x.value; });
        setFilter(values.length ? { key: column.key, kind: "choice", values: values } : null, column.key);
        changed();
      });
      box.appendChild(el("label", { class: "choice" }, [cb, el("span", { text: o.value }),
        el("span", { class: "count", text: F.grouped(o.count, 0) })]));
    });
    return el("div", { class: "filter choice-filter" + (chosen.length ? " on" : ""), "data-key": column.key },
              [el("label", { text: column.label }), box]);
  }

  function signalBlock(column) {
    var i = findFilter(column.key);
    var current = i >= 0 ? state.filters[i].value : "";
    var name = "sig-" + column.key;
    var labels = { "": "Any", golden: "Golden cross", death: "Death cross", none: "No cross" };
    var box = el("div", { class: "choices" });
    ["", "golden", "death", "none"].forEach(function (v) {
      var rb = el("input", { type: "radio", name: name, value: v, checked: v === current });
      rb.addEventListener("change", function () {
        setFilter(v ? { key: column.key, kind: "signal", value: v } : null, column.key);
        changed();
      });
      box.appendChild(el("label", { class: "choice" }, [rb, el("span", { text: labels[v] })]));
    });
    return el("div", { class: "filter" + (current ? " on" : ""), "data-key": column.key },
              [el("label", { text: column.label }), box]);
  }

  function refreshTabCounts() {
    var g = filterGroups();
    var buttons = view.panel.querySelectorAll(".filter-tabs [role=tab]");
    g.names.forEach(function (name, i) {
      var n = g.byGroup[name].filter(function (c) { return findFilter(c.key) >= 0; }).length;
      var badge = buttons[i] && buttons[i].querySelector(".badge-count");
      if (!buttons[i]) return;
      if (n && !badge) buttons[i].appendChild(el("span", { class: "badge-count", text: String(n) }));
      else if (n) badge.textContent = String(n);
      else if (badge) badge.remove();
    });
    var clearBtn = view.panel.querySelector(".clear-all");
    if (clearBtn) clearBtn.disabled = !state.filters.length && !state.q;
    Array.prototype.forEach.call(view.panel.querySelectorAll(".filter[data-key]"), function (node) {
      node.classList.toggle("on", findFilter(node.getAttribute("data-key")) >= 0);
    });
  }

  function filterGroups() {
    var groups = [], byGroup = {};
    table.columns.forEach(function (c) {
      if (!c.filter) return;
      if (!byGroup[c.group]) {
        byGroup[c.group] = [];
        groups.push(c.group);
      }
      byGroup[c.group].push(c);
    });
    return { names: groups, byGroup: byGroup };
  }

  /* Filters sit above the table, one tab per group, so the table keeps the full width. */
  function renderPanel() {
    var panel = view.panel;
    clear(panel);
    var g = filterGroups();
    if (g.names.indexOf(view.group) < 0) {
      // Open on the group of the first filter in use (a preset's), else the first group.
      var first = state.filters.length ? byKey[state.filters[0].key] : null;
      view.group = first && g.names.indexOf(first.group) >= 0 ? first.group : g.names[0];
    }
    var tabs = el("div", { class: "filter-tabs", role: "tablist" }, [
      el("span", { class: "filter-title", text: "Filters" })]);
    g.names.forEach(function (name) {
      var n = g.byGroup[name].filter(function (c) { return findFilter(c.key) >= 0; }).length;
      tabs.appendChild(el("button", {
        type: "button", role: "tab", "aria-selected": name === view.group ? "true" : "false",
        class: name === view.group ? "active" : null,
        onclick: function () { view.group = name; renderPanel(); },
      }, [name, n ? el("span", { class: "badge-count", text: String(n) }) : null]));
    });
    tabs.appendChild(el("button", { type: "button", class: "link clear-all", text: "Clear all filters",
      disabled: !state.filters.length && !state.q,
      onclick: function () {
        state.filters = [];
        state.q = "";
        view.search.value = "";
        renderPanel();
        changed();
      } }));
    panel.appendChild(tabs);
    var body = el("div", { class: "filter-body", role: "tabpanel" });
    g.byGroup[view.group].forEach(function (c) {
      body.appendChild(c.filter === "range" ? rangeBlock(c) :
                       c.filter === "choice" ? choiceBlock(c) : signalBlock(c));
    });
    panel.appendChild(body);
  }

  function chipText(f) {
    var c = byKey[f.key];
    if (f.kind === "choice") {
      var names = {};
      E.choices(table, f.key).forEach(function (o) { names[o.slug] = o.value; });
      return c.label + ": " + f.values.map(function (v) { return names[v] || v; }).join(", ");
    }
    if (f.kind === "signal") {
      return c.label + ": " + { golden: "Golden cross", death: "Death cross", none: "No cross" }[f.value];
    }
    var show = function (v) { return typeof v === "number" ? F.cell(v, c.type === "rating" ? { type: "num" } : c) : v; };
    if (f.min !== null && f.max !== null) return c.label + " " + show(f.min) + " to " + show(f.max);
    return c.label + (f.min !== null ? " \u2265 " + show(f.min) : " \u2264 " + show(f.max));
  }

  function renderChips() {
    var box = view.chips;
    clear(box);
    state.filters.forEach(function (f) {
      box.appendChild(el("span", { class: "chip" }, [chipText(f), el("button", {
        type: "button", "aria-label": "Remove filter", text: "\u00d7",
        onclick: function () {
          setFilter(null, f.key);
          renderPanel();
          changed();
        } })]));
    });
    if (state.q) {
      box.appendChild(el("span", { class: "chip" }, ["Search: " + state.q, el("button", {
        type: "button", "aria-label": "Clear search", text: "\u00d7",
        onclick: function () { state.q = ""; view.search.value = ""; changed(); } })]));
    }
    box.hidden = !box.firstChild;
  }

  // ---- columns --------------------------------------------------------------------------

  function renderColumnChooser() {
    var pop = view.columnPop;
    clear(pop);
    var groups = {};
    var order = [];
    table.columns.forEach(function (c) {
      if (!groups[c.group]) { groups[c.group] = []; order.push(c.group); }
      groups[c.group].push(c);
    });
    order.forEach(function (g) {
      var list = el("div", { class: "col-group" }, [el("h3", { text: g })]);
      groups[g].forEach(function (c) {
        var cb = el("input", { type: "checkbox", checked: state.cols.indexOf(c.key) >= 0,
                               disabled: c.key === "sym" });
        cb.addEventListener("change", function () {
          var at = state.cols.indexOf(c.key);
          if (cb.checked && at < 0) state.cols.push(c.key);
          else if (!cb.checked && at >= 0) state.cols.splice(at, 1);
          changed({ keepPage: true });
        });
        list.appendChild(el("label", { class: "choice" }, [cb, el("span", { text: c.label })]));
      });
      pop.appendChild(list);
    });
    pop.appendChild(el("div", { class: "pop-foot" }, [
      el("button", { type: "button", class: "link", text: "Default columns", onclick: function () {
        state.cols = S.resolve("", table.columns, DEFAULTS).cols;
        renderColumnChooser();
        changed({ keepPage: true });
      } }),
      el("button", { type: "button", class: "button small", text: "Done", onclick: function () {
        pop.hidden = true;
      } }),
    ]));
  }

  // ---- table ----------------------------------------------------------------------------

  function symbolCell(sym) {
    var href = "/" + KIND + "/" + String(sym).toLowerCase() + ".html";
    return el("td", { class: "sx-sym" }, [el("a", { href: href, text: sym })]);
  }

  function headerCell(c) {
    var active = state.sort.key === c.key;
    var arrow = active ? (state.sort.desc ? " \u25bc" : " \u25b2") : "";
    return el("th", {
      class: (NUMERIC[c.type] && c.type !== "sig" ? "num" : "") + (active ? " sorted" : ""),
      "aria-sort": active ? (state.sort.desc ? "descending" : "ascending") : null,
      scope: "col",
    }, [el("button", { type: "button", text: c.label + arrow, title: "Sort by " + c.label,
      onclick: function () {
        if (state.sort.key === c.key) state.sort.desc = !state.sort.desc;
        else state.sort = { key: c.key, desc: !!NUMERIC[c.type] };
        changed();
      } })]);
  }

  function renderResults() {
    var rows = E.matching(table, state);
    var page = E.pageOf(rows, state.page, state.rows);
    state.page = page.page;
    view.count.textContent = plural(rows.length);
    var cols = state.cols.map(function (k) { return byKey[k]; }).filter(Boolean);
    var idx = {};
    table.columns.forEach(function (c, i) { idx[c.key] = i; });
    var thead = el("thead", null, [el("tr", null, cols.map(headerCell))]);
    var tbody = el("tbody");
    page.rows.forEach(function (r) {
      var tr = el("tr");
      cols.forEach(function (c) {
        var v = r[idx[c.key]];
        if (c.key === "sym") { tr.appendChild(symbolCell(v)); return; }
        var cls = [];
        if (NUMERIC[c.type] && c.type !== "sig" && c.type !== "rating") cls.push("num");
        if (c.key === "name") cls.push("name");
        else if (c.type === "text") cls.push("text");
        var t = F.tone(v, c);
        if (t) cls.push(t);
        var text = F.cell(v, c);
        tr.appendChild(el("td", { class: cls.join(" ") || null, title: c.type === "text" ? text : null },
          c.type === "rating" && typeof v === "number" ?
            [el("span", { class: "badge", text: F.ratingWord(v) }), " " + v.toFixed(2)] : [text]));
      });
      tbody.appendChild(tr);
    });
    var tableEl = el("table", { class: "results-table" }, [thead, tbody]);
    clear(view.tableWrap);
    view.tableWrap.appendChild(tableEl);
    if (!page.rows.length) {
      view.tableWrap.appendChild(el("p", { class: "empty",
        text: "No " + DEFAULTS.noun[1] + " match these filters. Loosen or clear a filter to see results." }));
    }
    renderPager(page, rows.length);
  }

  function renderPager(page, total) {
    var p = view.pager;
    clear(p);
    function go(n) {
      return function () {
        state.page = n;
        changed({ keepPage: true });
        view.tableWrap.scrollIntoView({ block: "start" });
      };
    }
    p.appendChild(el("span", { class: "range-text",
      text: total ? "Showing " + F.grouped(page.first, 0) + "\u2013" + F.grouped(page.last, 0) +
        " of " + F.grouped(total, 0) : "" }));
    p.appendChild(el("span", { class: "pages" }, [
      el("button", { type: "button", text: "\u00ab", title: "First page", disabled: page.page <= 1, onclick: go(1) }),
      el("button", { type: "button", text: "\u2039 Prev", disabled: page.page <= 1, onclick: go(page.page - 1) }),
      el("span", { class: "page-no", text: "Page " + page.page + " of " + page.pages }),
      el("button", { type: "button", text: "Next \u203a", disabled: page.page >= page.pages, onclick: go(page.page + 1) }),
      el("button", { type: "button", text: "\u00bb", title: "Last page", disabled: page.page >= page.pages, onclick: go(page.pages) }),
    ]));
  }

  // ---- page frame -----------------------------------------------------------------------

  function buildFrame() {
    view.panel = document.getElementById("filters");
    var results = document.getElementById("results");
    clear(results);
    view.count = el("strong", { class: "count" });
    view.search = el("input", { type: "search", class: "quick-search", placeholder: "Filter by symbol or name",
                                "aria-label": "Filter by symbol or name", value: state.q });
    view.search.addEventListener("input", function () {
      state.q = view.search.value.trim().slice(0, 100);
      changed({ soon: true });
    });
    var sizes = el("select", { "aria-label": "Rows per page" }, S.PAGE_SIZES.map(function (n) {
      return el("option", { value: String(n), selected: n === state.rows, text: n + " rows" });
    }));
    sizes.addEventListener("change", function () {
      state.rows = Number(sizes.value);
      changed();
    });
    view.sizes = sizes;
    view.columnPop = el("div", { class: "column-pop", hidden: true, role: "dialog", "aria-label": "Columns" });
    var colButton = el("button", { type: "button", class: "button ghost", text: "Columns", onclick: function () {
      view.columnPop.hidden = !view.columnPop.hidden;
      if (!view.columnPop.hidden) renderColumnChooser();
    } });
    view.chips = el("div", { class: "chips" });
    view.tableWrap = el("div", { class: "table-wrap" });
    view.pager = el("div", { class: "pager" });
    results.appendChild(el("div", { class: "toolbar" }, [
      el("div", { class: "count-box" }, [view.count, el("span", { class: "muted", text: " match" })]),
      view.search,
      el("div", { class: "tools" }, [sizes, el("div", { class: "pop-anchor" }, [colButton, view.columnPop])]),
    ]));
    results.appendChild(view.chips);
    results.appendChild(view.tableWrap);
    results.appendChild(view.pager);
    document.getElementById("asof").textContent = asofText(table.asof);
  }

  function renderAll() {
    view.search.value = state.q;
    view.sizes.value = String(state.rows);
    renderPanel();
    renderChips();
    renderResults();
    if (!view.columnPop.hidden) renderColumnChooser();
  }

  function showError() {
    var results = document.getElementById("results");
    clear(results);
    results.appendChild(el("div", { class: "load-error" }, [
      el("p", { text: "The screener data could not be loaded." }),
      el("button", { type: "button", class: "button", text: "Try again", onclick: load }),
    ]));
  }

  function load() {
    var src = root.getAttribute("data-src");
    fetch(src, { credentials: "same-origin" }).then(function (r) {
      if (!r.ok) throw new Error("HTTP " + r.status);
      return r.json();
    }).then(function (data) {
      table = data;
      byKey = {};
      table.columns.forEach(function (c) { byKey[c.key] = c; });
      readFragment();
      buildFrame();
      renderAll();
      loadedAt = Date.now();
      root.classList.add("ready");
    }).catch(showError);
  }

  window.addEventListener("hashchange", function () {
    // The address was edited by hand, or a history move: show what the fragment says.
    if (!table || location.hash.replace(/^#/, "") === lastFragment) return;
    readFragment();
    renderAll();
  });

  document.addEventListener("keydown", function (e) {
    if (e.key === "Escape" && view.columnPop) view.columnPop.hidden = true;
  });

  document.addEventListener("click", function (e) {
    if (view.columnPop && !view.columnPop.hidden && !e.target.closest(".pop-anchor")) {
      view.columnPop.hidden = true;
    }
  });

  load();
})();
