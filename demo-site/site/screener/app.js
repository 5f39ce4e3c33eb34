/* The screener page: loads the data file, builds the page frame and keeps the whole screen
 * in the URL fragment. The parts: filters.js (filter bar and chips), columns.js (column
 * chooser), table.js (table and pager); the logic they call is in state.js, engine.js and
 * format.js. */
(function () {
  "use strict";
  var VXS = window.VXS, S = VXS.state, E = VXS.engine, el = VXS.dom.el, clear = VXS.dom.clear;
  var root = document.getElementById("screener");
  if (!root) return;

  var html = document.documentElement;
  var hookOff = html.getAttribute("data-vx-hook") === "off";
  var nullMs = Number(html.getAttribute("data-vx-null-ms")) || 0;
  var MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
                "September", "October", "November", "December"];

  // Everything the page's parts share. state is replaced whole when the fragment is read.
  var ctx = {
    kind: root.getAttribute("data-kind"),
    table: null,
    state: null,
    byKey: {},
    view: {},
    changed: changed,
  };
  ctx.defaults = VXS.screens.forPage(ctx.kind, root.getAttribute("data-preset"));
  var filters = VXS.filters(ctx), chooser = VXS.columnChooser(ctx), table = VXS.resultsTable(ctx);
  var loadedAt = 0, lastFragment = null, writeTimer = 0;

  if (!hookOff) {
    // Programs that host the page read every matching row through this hook.
    window.VXScreener = {
      version: 1,
      getResults: function () {
        if (!ctx.table || !ctx.state) return null;
        if (nullMs && Date.now() - loadedAt < nullMs) return null;
        return E.results(ctx.table, ctx.state, location.href);
      },
    };
  }

  function asofText(iso) {
    var m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(iso || "");
    return m ? "Data as of market close, " + MONTHS[Number(m[2]) - 1] + " " + Number(m[3]) +
      ", " + m[1] : "";
  }

  function writeFragment(soon) {
    clearTimeout(writeTimer);
    var write = function () {
      var frag = S.encode(ctx.state);
      lastFragment = frag;
      if (location.hash.replace(/^#/, "") !== frag) {
        history.replaceState(history.state, "", "#" + frag);
      }
    };
    // Typing waits for a pause, so the address is not rewritten on every key.
    if (soon) writeTimer = setTimeout(write, 300);
    else write();
  }

  function readFragment() {
    var frag = location.hash.replace(/^#/, "");
    ctx.state = S.resolve(frag, ctx.table.columns, ctx.defaults);
    lastFragment = frag;
  }

  function changed(opts) {
    if (!opts || !opts.keepPage) ctx.state.page = 1;
    table.render();
    filters.renderChips();
    filters.refresh();
    writeFragment(opts && opts.soon);
  }

  function toolbar() {
    var view = ctx.view;
    view.count = el("strong", { class: "count" });
    view.search = el("input", { type: "search", class: "quick-search",
                                placeholder: "Filter by symbol or name",
                                "aria-label": "Filter by symbol or name" });
    view.search.addEventListener("input", function () {
      ctx.state.q = view.search.value.trim().slice(0, 100);
      changed({ soon: true });
    });
    view.sizes = el("select", { "aria-label": "Rows per page" }, S.PAGE_SIZES.map(function (n) {
      return el("option", { value: String(n), text: n + " rows" });
    }));
    view.sizes.addEventListener("change", function () {
      ctx.state.rows = Number(view.sizes.value);
      changed();
    });
    view.columnPop = el("div", { class: "column-pop", hidden: true, role: "dialog",
                                 "aria-label": "Columns" });
    var columnsButton = el("button", { type: "button", class: "button ghost", text: "Columns",
      onclick: function () {
        view.columnPop.hidden = !view.columnPop.hidden;
        if (!view.columnPop.hidden) chooser.render();
      } });
    return el("div", { class: "toolbar" }, [
      el("div", { class: "count-box" }, [view.count,
        el("span", { class: "muted", text: " match" })]),
      view.search,
      el("div", { class: "tools" }, [view.sizes,
        el("div", { class: "pop-anchor" }, [columnsButton, view.columnPop])]),
    ]);
  }

  function buildFrame() {
    var view = ctx.view;
    view.panel = document.getElementById("filters");
    var results = document.getElementById("results");
    clear(results);
    view.chips = el("div", { class: "chips" });
    view.tableWrap = el("div", { class: "table-wrap" });
    view.pager = el("div", { class: "pager" });
    results.appendChild(toolbar());
    results.appendChild(view.chips);
    results.appendChild(view.tableWrap);
    results.appendChild(view.pager);
    document.getElementById("asof").textContent = asofText(ctx.table.asof);
  }

  function renderAll() {
    ctx.view.search.value = ctx.state.q;
    ctx.view.sizes.value = String(ctx.state.rows);
    filters.render();
    filters.renderChips();
    table.render();
    if (!ctx.view.columnPop.hidden) chooser.render();
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
    fetch(root.getAttribute("data-src"), { credentials: "same-origin" }).then(function (r) {
      if (!r.ok) throw new Error("HTTP " + r.status);
      return r.json();
    }).then(function (data) {
      ctx.table = data;
      ctx.byKey = {};
      data.columns.forEach(function (c) { ctx.byKey[c.key] = c; });
      readFragment();
      buildFrame();
      renderAll();
      loadedAt = Date.now();
      root.classList.add("ready");
    }).catch(showError);
  }

  window.addEventListener("hashchange", function () {
    // The address was edited by hand, or a history move: show what the fragment says.
    if (!ctx.table || location.hash.replace(/^#/, "") === lastFragment) return;
    readFragment();
    renderAll();
  });

  document.addEventListener("keydown", function (e) {
    if (e.key === "Escape" && ctx.view.columnPop) ctx.view.columnPop.hidden = true;
  });

  document.addEventListener("click", function (e) {
    var pop = ctx.view.columnPop;
    if (pop && !pop.hidden && !e.target.closest(".pop-anchor")) pop.hidden = true;
  });

  load();
})();
