// The program's end of window.chrome.webview.postMessage: the page script's shim sends
// each message as JSON text over the web channel to this object.
#pragma once

#include <QObject>
#include <QString>

namespace velquist {

class PageBridge : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // The name under which the page's shim finds this object.
  static constexpr const char* ChannelName = "vxBridge";

  Q_INVOKABLE void post(const QString& json) { emit messagePosted(json); }

 signals:
  void messagePosted(const QString& json);
};

}  // namespace velquist
