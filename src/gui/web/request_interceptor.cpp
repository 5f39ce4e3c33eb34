#include "gui/web/request_interceptor.h"

#include "gui/text/qt_text.h"
#include "print/report_request.h"

namespace velquist {

RequestClass RequestClassOf(QWebEngineUrlRequestInfo::ResourceType type) {
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
      return RequestClass::Document;
    // Chromium files both XMLHttpRequest and fetch() under this type.
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
      return RequestClass::DataFetch;
    case QWebEngineUrlRequestInfo::ResourceTypeSharedWorker:
    case QWebEngineUrlRequestInfo::ResourceTypeServiceWorker:
      return RequestClass::Worker;
    default:
      return RequestClass::Asset;
  }
}

void ScreenerRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const std::string method = info.requestMethod().toStdString();
  const std::string uri = info.requestUrl().toEncoded().toStdString();
  // The print window's view shares the profile; its own page refuses all but the report.
  if (!IsRequestAllowed(method, uri, RequestClassOf(info.resourceType())) &&
      !IsPrintReportRequest(method, uri)) {
    info.block(true);
  }
}

}  // namespace velquist
