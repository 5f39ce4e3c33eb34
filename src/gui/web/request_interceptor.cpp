#include "gui/web/request_interceptor.h"

#include "gui/text/qt_text.h"

namespace velquist {

RequestClass RequestClassOf(QWebEngineUrlRequestInfo::ResourceType type) {
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
      return RequestClass::Document;
    // Chromium files both XMLHttpRequest and fetch() under this type.
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
      return RequestClass::DataFetch;
    default:
      return RequestClass::Asset;
  }
}

void ScreenerRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const std::string method = info.requestMethod().toStdString();
  const std::string uri = info.requestUrl().toEncoded().toStdString();
  if (!IsRequestAllowed(method, uri, RequestClassOf(info.resourceType()))) info.block(true);
}

}  // namespace velquist
