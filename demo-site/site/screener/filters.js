/* The filter bar above the table (one tab per column group) and the chips of the filters in
 * use. Works on the page's shared context: ctx.table, ctx.state, ctx.byKey, ctx.view and
 * ctx.changed(). */
(function (root) {
  "use strict";
  var E = root.VXS.engine, F = root.VXS.format, el = root.VXS.dom.el, clear = root.VXS.dom.clear;
  var SIGNAL_LABELS = { "": "Any", golden: "Golden cross", death: "Death cross", none: "No cross" };

  root.VXS.filters = function (ctx) {
    function findFilter(key) {
      var filters = ctx.state.filters;
      for (var i = 0; i < filters.length; i++) if (filters[i].key === key) return i;
      return -1;
    }

    function current(key) {
      var i = findFilter(key);
      return i >= 0 ? ctx.state.filters[i] : null;
    }

    function setFilter(f, key) {
      var filters = ctx.state.filters, i = findFilter(key);
      if (f && i >= 0) filters[i] = f;
      else if (f) filters.push(f);
      else if (i >= 0) filters.splice(i, 1);
    }

    // A bound as typed: market caps as 2B rather than 2000000000.
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

    function boundInput(column, f, side, placeholder) {
      return el("input", { type: "text", inputmode: column.type === "date" ? null : "decimal",
                           placeholder: placeholder,
                           value: f ? boundText(f[side], column) : "",
                           "aria-label": column.label + (side === "min" ? " minimum" :
                                                                         " maximum") });
    }

    function rangeBlock(column) {
      var f = current(column.key);
      var ph = column.type === "date" ? ["YYYY-MM-DD", "YYYY-MM-DD"] :
        column.type === "money" ? ["Min, e.g. 2B", "Max"] : ["Min", "Max"];
      var lo = boundInput(column, f, "min", ph[0]), hi = boundInput(column, f, "max", ph[1]);
      function update() {
        var a = readBound(lo, column), b = readBound(hi, column);
        lo.classList.toggle("bad", !a.ok);
        hi.classList.toggle("bad", !b.ok);
        if (!a.ok || !b.ok) return;
        var nf = a.v === null && b.v === null ? null :
          { key: column.key, kind: "range", min: a.v, max: b.v };
        setFilter(nf, column.key);
        ctx.changed({ soon: true });
      }
      lo.addEventListener("input", update);
      hi.addEventListener("input", update);
      return el("div", { class: "filter range" + (f ? " on" : ""), "data-key": column.key }, [
        el("label", { text: column.label }),
        el("div", { class: "pair" }, [lo, el("span", { class: "dash", text: "to" }), hi]),
      ]);
    }

    function choiceBlock(column) {
      var f = current(column.key);
      var chosen = f ? f.values : [];
      // Chosen values first, so that a long list shows what is in use without scrolling.
      var all = E.choices(ctx.table, column.key);
      var opts = all.filter(function (o) { return chosen.indexOf(o.slug) >= 0; }).concat(
        all.filter(function (o) { return chosen.indexOf(o.slug) < 0; }));
      var box = el("div", { class: "choices" + (opts.length > 8 ? " long" : "") });
      opts.forEach(function (o) {
        var cb = el("input", { type: "checkbox", value: o.slug,
                               checked: chosen.indexOf(o.slug) >= 0 });
        cb.addEventListener("change", function () {
          var values = Array.prototype.map.call(box.querySelectorAll("input:checked"),
            function (x) { return x.value; });
          setFilter(values.length ? { key: column.key, kind: "choice", values: values } : null,
                    column.key);
          ctx.changed();
        });
        box.appendChild(el("label", { class: "choice" }, [cb, el("span", { text: o.value }),
          el("span", { class: "count", text: F.grouped(o.count, 0) })]));
      });
      return el("div", { class: "filter choice-filter" + (chosen.length ? " on" : ""),
                         "data-key": column.key }, [el("label", { text: column.label }), box]);
    }

    function signalBlock(column) {
      var f = current(column.key);
      var value = f ? f.value : "";
      var box = el("div", { class: "choices" });
      ["", "golden", "death", "none"].forEach(function (v) {
        var rb = el("input", { type: "radio", name: "sig-" + column.key, value: v,
                               checked: v === value });
        rb.addEventListener("change", function () {
          setFilter(v ? { key: column.key, kind: "signal", value: v } : null, column.key);
          ctx.changed();
        });
        box.appendChild(el("label", { class: "choice" }, [rb,
          el("span", { text: SIGNAL_LABELS[v] })]));
      });
      return el("div", { class: "filter" + (value ? " on" : ""), "data-key": column.key },
                [el("label", { text: column.label }), box]);
    }

    function groups() {
      var names = [], byGroup = {};
      ctx.table.columns.forEach(function (c) {
        if (!c.filter) return;
        if (!byGroup[c.group]) {
          byGroup[c.group] = [];
          names.push(c.group);
        }
        byGroup[c.group].push(c);
      });
      return { names: names, byGroup: byGroup };
    }

    function activeIn(g, name) {
      return g.byGroup[name].filter(function (c) { return findFilter(c.key) >= 0; }).length;
    }

    function clearAll() {
      ctx.state.filters = [];
      ctx.state.q = "";
      ctx.view.search.value = "";
      render();
      ctx.changed();
    }

    /* Tabs and the current group's filters; the table below keeps the full width. */
    function render() {
      var view = ctx.view, panel = view.panel, g = groups();
      clear(panel);
      if (g.names.indexOf(view.group) < 0) {
        // Open on the group of the first filter in use (a preset's), else the first group.
        var first = ctx.state.filters.length ? ctx.byKey[ctx.state.filters[0].key] : null;
        view.group = first && g.names.indexOf(first.group) >= 0 ? first.group : g.names[0];
      }
      var tabs = el("div", { class: "filter-tabs", role: "tablist" }, [
        el("span", { class: "filter-title", text: "Filters" })]);
      g.names.forEach(function (name) {
        var n = activeIn(g, name);
        tabs.appendChild(el("button", {
          type: "button", role: "tab", "aria-selected": name === view.group ? "true" : "false",
          class: name === view.group ? "active" : null,
          onclick: function () { view.group = name; render(); },
        }, [name, n ? el("span", { class: "badge-count", text: String(n) }) : null]));
      });
      tabs.appendChild(el("button", { type: "button", class: "link clear-all",
                                      text: "Clear all filters", onclick: clearAll,
                                      disabled: !ctx.state.filters.length && !ctx.state.q }));
      panel.appendChild(tabs);
      var body = el("div", { class: "filter-body", role: "tabpanel" });
      g.byGroup[view.group].forEach(function (c) {
        body.appendChild(c.filter === "range" ? rangeBlock(c) :
                         c.filter === "choice" ? choiceBlock(c) : signalBlock(c));
      });
      panel.appendChild(body);
    }

    /* Tab counts and highlights after a change, without rebuilding the inputs in use. */
    function refresh() {
      var g = groups(), panel = ctx.view.panel;
      var buttons = panel.querySelectorAll(".filter-tabs [role=tab]");
      g.names.forEach(function (name, i) {
        if (!buttons[i]) return;
        var n = activeIn(g, name), badge = buttons[i].querySelector(".badge-count");
        if (n && !badge) {
          buttons[i].appendChild(el("span", { class: "badge-count", text: String(n) }));
        }
        else if (n) badge.textContent = String(n);
        else if (badge) badge.remove();
      });
      var clearButton = panel.querySelector(".clear-all");
      if (clearButton) clearButton.disabled = !ctx.state.filters.length && !ctx.state.q;
      Array.prototype.forEach.call(panel.querySelectorAll(".filter[data-key]"), function (node) {
        node.classList.toggle("on", findFilter(node.getAttribute("data-key")) >= 0);
      });
    }

    function chipText(f) {
      var c = ctx.byKey[f.key];
      if (f.kind === "choice") {
        var names = {};
        E.choices(ctx.table, f.key).forEach(function (o) { names[o.slug] = o.value; });
        return c.label + ": " + f.values.map(function (v) { return names[v] || v; }).join(", ");
      }
      if (f.kind === "signal") return c.label + ": " + SIGNAL_LABELS[f.value];
      var shown = c.type === "rating" ? { type: "num" } : c;
      var show = function (v) { return typeof v === "number" ? F.cell(v, shown) : v; };
      if (f.min !== null && f.max !== null) {
        return c.label + " " + show(f.min) + " to " + show(f.max);
      }
      return c.label + (f.min !== null ? " \u2265 " + show(f.min) : " \u2264 " + show(f.max));
    }

    function chip(text, label, remove) {
      return el("span", { class: "chip" }, [text, el("button", {
        type: "button", "aria-label": label, text: "\u00d7", onclick: remove })]);
    }

    function renderChips() {
      var box = ctx.view.chips;
      clear(box);
      ctx.state.filters.forEach(function (f) {
        box.appendChild(chip(chipText(f), "Remove filter", function () {
          setFilter(null, f.key);
          render();
          ctx.changed();
        }));
      });
      if (ctx.state.q) {
        box.appendChild(chip("Search: " + ctx.state.q, "Clear search", function () {
          ctx.state.q = "";
          ctx.view.search.value = "";
          ctx.changed();
        }));
      }
      box.hidden = !box.firstChild;
    }

    return { render: render, refresh: refresh, renderChips: renderChips };
  };
})(self);
