/* The column chooser: every column by group; ticking one appends it to the table. */
(function (root) {
  "use strict";
  var S = root.VXS.state, el = root.VXS.dom.el, clear = root.VXS.dom.clear;

  root.VXS.columnChooser = function (ctx) {
    function render() {
      var pop = ctx.view.columnPop, state = ctx.state;
      clear(pop);
      var byGroup = {}, order = [];
      ctx.table.columns.forEach(function (c) {
        if (!byGroup[c.group]) {
          byGroup[c.group] = [];
          order.push(c.group);
        }
        byGroup[c.group].push(c);
      });
      order.forEach(function (g) {
        var list = el("div", { class: "col-group" }, [el("h3", { text: g })]);
        byGroup[g].forEach(function (c) {
          var cb = el("input", { type: "checkbox", checked: state.cols.indexOf(c.key) >= 0,
                                 disabled: c.key === "s" });
          cb.addEventListener("change", function () {
            var at = ctx.state.cols.indexOf(c.key);
            if (cb.checked && at < 0) ctx.state.cols.push(c.key);
            else if (!cb.checked && at >= 0) ctx.state.cols.splice(at, 1);
            ctx.changed({ keepPage: true });
          });
          list.appendChild(el("label", { class: "choice" }, [cb, el("span", { text: c.label })]));
        });
        pop.appendChild(list);
      });
      pop.appendChild(el("div", { class: "pop-foot" }, [
        el("button", { type: "button", class: "link", text: "Default columns",
          onclick: function () {
            ctx.state.cols = S.resolve("", ctx.table.columns, ctx.defaults).cols;
            render();
            ctx.changed({ keepPage: true });
          } }),
        el("button", { type: "button", class: "button small", text: "Done",
          onclick: function () { pop.hidden = true; } }),
      ]));
    }

    return { render: render };
  };
})(self);
