// The type of the margin texts: the font the browser engine gives the report's page rules
// ("8pt 'Segoe UI',Arial,sans-serif"), so that the texts the program draws look as the
// engine would have drawn them.
#pragma once

#include <QFont>
#include <QStringList>

namespace velquist {

// The family the engine draws a font-family list with: the first name that the system
// has, under its own name or under an alias that stands in for it (such as Liberation
// Sans for Arial); a generic family gets its default font. Qt alone would take the
// system's default font for a name it lacks and never reach the later names.
QString EngineFontFamily(const QStringList& families);

QFont MarginTextFont();

}  // namespace velquist
