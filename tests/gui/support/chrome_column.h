// The frame's chrome without the frame, for tests that look at the drawn parts alone.
#pragma once

#include <QVBoxLayout>
#include <QWidget>

#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"

namespace velquist::test {

struct ChromeColumn {
  CChromeToolBar* toolBar;
  CTabStrip* tabs;
  CStatusStrip* status;
};

// Stacks the chrome into layout as the frame does: tool bar, the tab strip with the two
// screener tabs, the room of the pages, the status strip.
inline ChromeColumn AddChromeColumn(QWidget& window, QVBoxLayout& layout) {
  ChromeColumn chrome{new CChromeToolBar(&window), new CTabStrip(&window),
                      new CStatusStrip(&window)};
  chrome.tabs->SetLabels({QStringLiteral("Stocks"), QStringLiteral("ETFs")});
  layout.addWidget(chrome.toolBar);
  layout.addWidget(chrome.tabs);
  layout.addStretch(1);
  layout.addWidget(chrome.status);
  return chrome;
}

}  // namespace velquist::test
