// Puts every request of the program's profile through the site's request filter: those of
// the screener pages and their frames, of every kind of worker, and each step of a
// redirect. Refused requests are blocked before they reach the network.
#pragma once

#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include "site/filter.h"

namespace velquist {

// The one place where the browser's resource types become the filter's request classes.
RequestClass RequestClassOf(QWebEngineUrlRequestInfo::ResourceType type);

class ScreenerRequestInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace velquist
