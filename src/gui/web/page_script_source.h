// The script a screener view runs in every document before the page's own scripts.
#pragma once

#include <QString>

namespace velquist {

// The web channel client and the postMessage shim, followed by the page script resource
// with the site's host filled in.
QString PageScriptSource();

}  // namespace velquist
