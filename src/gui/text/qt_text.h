// Conversions between the core's UTF-8 byte strings and Qt's UTF-16 text. Ill-formed
// UTF-8 becomes U+FFFD.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velquist {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace velquist
