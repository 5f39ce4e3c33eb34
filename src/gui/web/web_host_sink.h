// How a web host reports to its owner. The main frame implements it.
#pragma once

#include <QString>
#include <Qt>
#include <string>

#include "web/page_message.h"

namespace velquist {

class CWebHost;

class IWebHostSink {
 public:
  virtual ~IWebHostSink() = default;
  // The view exists and its first navigation has been issued.
  virtual void OnHostReady(CWebHost& host) = 0;
  // The screener page reported a new screen URL (UTF-8).
  virtual void OnScreenChanged(CWebHost& host, const std::string& url) = 0;
  // The link under the mouse (UTF-8), empty when the mouse left it.
  virtual void OnLinkHover(CWebHost& host, const std::string& url) = 0;
  // The host's status text; empty clears it.
  virtual void OnHostStatus(CWebHost& host, const QString& text) = 0;
  // The user changed the page zoom in the page.
  virtual void OnHostZoom(CWebHost& host, double zoom) = 0;
  // A result row was right-clicked.
  virtual void OnRowContextMenu(CWebHost& host, const RowMenuRequest& request) = 0;
  // A key went down in the page; true when the owner used it, so the page must not.
  virtual bool OnBrowserKey(int key, Qt::KeyboardModifiers modifiers) = 0;
};

}  // namespace velquist
