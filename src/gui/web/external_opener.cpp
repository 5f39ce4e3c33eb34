#include "gui/web/external_opener.h"

#include <QDesktopServices>

#include "gui/text/qt_text.h"

namespace velquist {
namespace {

ExternalOpener& CurrentOpener() {
  static ExternalOpener opener;
  return opener;
}

void Open(const QUrl& target) {
  if (CurrentOpener()) {
    CurrentOpener()(target);
  } else {
    QDesktopServices::openUrl(target);
  }
}

}  // namespace

void OpenInDefaultBrowser(std::string_view url) {
  // TolerantMode would re-encode characters; the URL has already passed the site rules.
  Open(QUrl(ToQString(url), QUrl::StrictMode));
}

void OpenWithDefaultProgram(const QString& path) { Open(QUrl::fromLocalFile(path)); }

void SetExternalOpener(ExternalOpener opener) { CurrentOpener() = std::move(opener); }

}  // namespace velquist
