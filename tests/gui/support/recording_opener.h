// Stands in for the desktop's default browser: records what the program would open.
#pragma once

#include <QList>
#include <QUrl>

#include "gui/web/external_opener.h"

namespace velquist::test {

class RecordingOpener {
 public:
  RecordingOpener() {
    SetExternalOpener([this](const QUrl& url) { opened.append(url); });
  }
  ~RecordingOpener() { SetExternalOpener({}); }

  QList<QUrl> opened;
};

}  // namespace velquist::test
