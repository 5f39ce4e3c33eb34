// The one road from the program to the user's default browser, mail program and the
// programs that open exported files. Tests replace the opener to see what would have been
// opened.
#pragma once

#include <QUrl>
#include <functional>
#include <string_view>

namespace velquist {

using ExternalOpener = std::function<void(const QUrl&)>;

// Opens url (UTF-8) with the desktop's handler for its scheme; the result is not examined.
void OpenInDefaultBrowser(std::string_view url);
// Opens a file with the desktop's default program for its type, likewise.
void OpenWithDefaultProgram(const QString& path);
// Replaces the opener; an empty function restores the desktop's handler.
void SetExternalOpener(ExternalOpener opener);

}  // namespace velquist
