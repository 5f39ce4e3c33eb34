// The browser's own context menu for a screener page, cut down to editing and copying.
#pragma once

#include "web/context_menu.h"

class QAction;
class QMenu;
class QWebEngineView;

namespace velquist {

// The view's standard menu for its last context-menu request, with every item removed
// that the set does not keep and with tidied separators; nullptr when nothing is left, so
// that no menu is shown. The caller owns the menu. print, when given, is the view's own
// print action (the browser's menu has none), offered under the name "print".
QMenu* FilteredContextMenu(QWebEngineView& view, ContextMenuSet set = ContextMenuSet::ScreenerPage,
                           QAction* print = nullptr);

}  // namespace velquist
