// Puts every request of a screener view through the site's request filter. Refused
// requests are blocked before they reach the network.
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
