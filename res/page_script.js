// Velquist's page script: runs in every document of the screener views before the page's
// own scripts. It marks the page as shown inside the program, reports the page URL when
// the screener rewrites its state, reports the link under the mouse, and turns a
// right-click on a result row into a request for the program's row menu.
(function () {
  'use strict';
  if (window.__vxApp) return;
  window.__vxApp = true;

  function post(message) {
    try {
      if (window.chrome && window.chrome.webview) window.chrome.webview.postMessage(message);
    } catch (e) {
      // The program may be gone; the page must not notice.
    }
  }

  // The site's style sheet hides its own header and navigation for this class; setting it
  // before the page is parsed avoids a flash of them.
  if (document.documentElement) {
    document.documentElement.classList.add('vx-app');
  } else {
    var observer = new MutationObserver(function () {
      if (document.documentElement) {
        document.documentElement.classList.add('vx-app');
        observer.disconnect();
      }
    });
    observer.observe(document, { childList: true });
  }

  if (location.hostname !== '@SITE_HOST@') return;

  var lastHref = '';
  function reportUrl() {
    if (location.href !== lastHref) {
      lastHref = location.href;
      post({ t: 'url', href: lastHref });
    }
  }
  ['replaceState', 'pushState'].forEach(function (name) {
    var original = history[name];
    history[name] = function () {
      var result = typeof original === 'function' ? original.apply(this, arguments) : undefined;
      reportUrl();
      return result;
    };
  });
  window.addEventListener('hashchange', reportUrl);
  window.addEventListener('popstate', reportUrl);
  document.addEventListener('DOMContentLoaded', reportUrl);

  function elementOf(node) {
    return node && node.nodeType === 3 ? node.parentElement : node;
  }

  var hoverHref = '';
  function reportHover(h) {
    if (h !== hoverHref) {
      hoverHref = h;
      post({ t: 'hover', href: h });
    }
  }
  document.addEventListener('mouseover', function (event) {
    var element = elementOf(event.target);
    var link = element && element.closest ? element.closest('a[href]') : null;
    reportHover(link ? link.href : '');
  }, true);
  document.addEventListener('mouseleave', function () { reportHover(''); });

  var pageLists = {};
  function pageList(path) {
    if (pageLists[path]) return pageLists[path];
    var lookup = fetch(path, { credentials: 'omit', cache: 'default' }).then(function (response) {
      if (!response.ok) throw new Error('HTTP ' + response.status);
      return response.text();
    }).then(function (html) {
      var doc = new DOMParser().parseFromString(html, 'text/html');
      var tabs = [];
      var links = doc.querySelectorAll('nav.stock-tabs a[href]');
      for (var i = 0; i < links.length && tabs.length < 20; i++) {
        var h = links[i].getAttribute('href');
        var l = links[i].textContent.replace(/\s+/g, ' ').trim();
        if (/^\/[a-z][a-z\-]*\/[a-z0-9][a-z0-9.\-]*\.html$/.test(h) && l) {
          tabs.push({ l: l.slice(0, 40), h: h });
        }
      }
      return tabs;
    });
    pageLists[path] = lookup;
    // A failed lookup is forgotten so that the next right-click tries again.
    lookup.catch(function () {
      if (pageLists[path] === lookup) delete pageLists[path];
    });
    return lookup;
  }

  document.addEventListener('contextmenu', function (event) {
    var element = elementOf(event.target);
    var row = element && element.closest ? element.closest('tr') : null;
    var link = row ? row.querySelector('td.sx-sym a[href]') : null;
    if (!link) return;
    var path = link.getAttribute('href');
    var match = /^\/(stocks|etfs)\/([a-z0-9][a-z0-9.\-]*)\.html$/.exec(path);
    if (!match) return;
    event.preventDefault();
    var message = { t: 'ctx', kind: match[1], sym: link.textContent.trim().slice(0, 16), path: path };
    var answered = false;
    function answer(tabs, ok) {
      if (answered) return;
      answered = true;
      message.tabs = tabs;
      message.ok = ok;
      post(message);
    }
    var timer = setTimeout(function () { answer([], false); }, 1500);
    pageList(path).then(function (tabs) {
      clearTimeout(timer);
      answer(tabs, true);
    }, function () {
      clearTimeout(timer);
      answer([], false);
    });
  }, true);
})();
