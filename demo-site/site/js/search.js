/* Symbol search in the site header: suggestions from /data/search.json, loaded on first use. */
(function () {
  "use strict";
  var form = document.querySelector(".site-search");
  if (!form) return;
  var input = form.querySelector("input");
  var list = document.createElement("ul");
  list.className = "suggest";
  list.hidden = true;
  form.appendChild(list);
  var index = null, pending = null;

  function load() {
    if (!pending) {
      pending = fetch("/data/search.json").then(function (r) {
        if (!r.ok) throw new Error("HTTP " + r.status);
        return r.json();
      }).then(function (d) { index = d.symbols; }).catch(function () { pending = null; });
    }
    return pending;
  }

  function show() {
    var q = input.value.trim().toUpperCase();
    while (list.firstChild) list.removeChild(list.firstChild);
    if (!q || !index) { list.hidden = true; return; }
    var hits = index.filter(function (e) { return e.s.indexOf(q) === 0; });
    hits = hits.concat(index.filter(function (e) {
      return e.s.indexOf(q) !== 0 && e.n.toUpperCase().indexOf(q) >= 0;
    })).slice(0, 8);
    hits.forEach(function (e) {
      var li = document.createElement("li");
      var a = document.createElement("a");
      a.href = "/" + e.k + "/" + e.s.toLowerCase() + ".html";
      var s = document.createElement("span");
      s.className = "s";
      s.textContent = e.s;
      a.appendChild(s);
      a.appendChild(document.createTextNode(e.n));
      li.appendChild(a);
      list.appendChild(li);
    });
    list.hidden = !hits.length;
  }

  input.addEventListener("focus", load);
  input.addEventListener("input", function () { load().then(show); });
  input.addEventListener("blur", function () {
    // Late enough for a click on a suggestion to land first.
    setTimeout(function () { list.hidden = true; }, 200);
  });
  form.addEventListener("submit", function (e) {
    e.preventDefault();
    var first = list.querySelector("a");
    if (first) location.href = first.href;
  });
})();
