/* Two DOM helpers shared by the screener page's scripts. */
(function (root) {
  "use strict";

  /* el("td", {class: "num", text: "1.00", onclick: fn}, [children]): attributes that are
   * null, undefined or false are left out, true gives an empty attribute. */
  function el(tag, attrs, children) {
    var node = document.createElement(tag);
    Object.keys(attrs || {}).forEach(function (k) {
      var v = attrs[k];
      if (k === "text") node.textContent = v;
      else if (k.slice(0, 2) === "on") node.addEventListener(k.slice(2), v);
      else if (v !== null && v !== undefined && v !== false) {
        node.setAttribute(k, v === true ? "" : v);
      }
    });
    (children || []).forEach(function (c) {
      if (c === null || c === undefined) return;
      node.appendChild(typeof c === "string" ? document.createTextNode(c) : c);
    });
    return node;
  }

  function clear(node) {
    while (node.firstChild) node.removeChild(node.firstChild);
  }

  (root.VXS = root.VXS || {}).dom = { el: el, clear: clear };
})(self);
