#include "gui/web/page_script_source.h"

#include "gui/app/text_resource.h"
#include "gui/text/qt_text.h"
#include "gui/web/page_bridge.h"
#include "site_constants.h"

namespace velquist {
namespace {

// Defines window.chrome.webview.postMessage over the web channel. Posts made before the
// channel is connected are queued and sent, in order, once it is. The channel client is
// kept inside this function so that the page's globals stay untouched.
const char* const kShim = R"JS(
  if (window.chrome && window.chrome.webview) return;
  var queue = [];
  var bridge = null;
  // Taken before any script of the page runs, so that the page cannot swap them.
  var prototypeOf = Object.getPrototypeOf;
  var ownObject = Object.prototype;
  var stringify = JSON.stringify;
  window.chrome = window.chrome || {};
  window.chrome.webview = {
    postMessage: function (message) {
      // Only objects made in this document: a frame that hands up a message of its own
      // window is not the page speaking. (A frame of the page's own origin can still run
      // code in the page itself; the browser treats the two as one.)
      if (message === null || typeof message !== 'object' || prototypeOf(message) !== ownObject) {
        return;
      }
      var text = stringify(message);
      if (bridge) bridge.post(text); else queue.push(text);
    }
  };
  function connect() {
    if (typeof qt === 'undefined' || !qt.webChannelTransport) return false;
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects[BRIDGE_NAME];
      queue.forEach(function (text) { bridge.post(text); });
      queue = [];
    });
    return true;
  }
  if (!connect()) {
    var tries = 0;
    var timer = setInterval(function () {
      if (connect() || ++tries > 200) clearInterval(timer);
    }, 10);
  }
)JS";

}  // namespace

QString PageScriptSource() {
  QString shim = QString::fromUtf8(kShim);
  shim.replace(QStringLiteral("BRIDGE_NAME"),
               QStringLiteral("'%1'").arg(QLatin1String(PageBridge::ChannelName)));
  const QString channel =
      ToQString(ReadTextResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")));
  QString page = ToQString(ReadTextResource(PageScriptResource));
  page.replace(QStringLiteral("@SITE_HOST@"), ToQString(SiteHost));
  return QStringLiteral("(function () {\n") + channel + shim + QStringLiteral("\n})();\n") + page;
}

}  // namespace velquist
