#include "gui/web/external_opener.h"

#include <QDesktopServices>

#include "gui/text/qt_text.h"

namespace velquist {
namespace {

ExternalOpener& CurrentOpener() {
  static ExternalOpener opener;
  return opener;
}

}  // namespace

void OpenInDefaultBrowser(std::string_view url) {
  // TolerantMode would re-encode characters; the URL has already passed the site rules.
  const QUrl target(ToQString(url), QUrl::StrictMode);
  if (CurrentOpener()) {
    CurrentOpener()(target);
  } else {
    QDesktopServices::openUrl(target);
  }
}

void SetExternalOpener(ExternalOpener opener) { CurrentOpener() = std::move(opener); }

}  // namespace velquist
