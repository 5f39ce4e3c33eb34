// Text stored in the program's resources.
#pragma once

#include <QString>
#include <string>

namespace velquist {

// The bytes of the resource at path (":/..."), without a leading UTF-8 byte-order mark
// when the resource is longer than 2 bytes; empty when the resource is missing.
std::string ReadTextResource(const QString& path);

inline const QString PageScriptResource = QStringLiteral(":/velquist/page_script.js");
inline const QString OfflinePageResource = QStringLiteral(":/velquist/offline.html");

}  // namespace velquist
