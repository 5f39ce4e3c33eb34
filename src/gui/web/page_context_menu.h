// The browser's own context menu for a screener page, cut down to editing and copying.
#pragma once

class QMenu;
class QWebEngineView;

namespace velquist {

// The view's standard menu for its last context-menu request, with every item removed
// that is not plain editing or copying and with tidied separators; nullptr when nothing
// is left, so that no menu is shown. The caller owns the menu.
QMenu* FilteredContextMenu(QWebEngineView& view);

}  // namespace velquist
