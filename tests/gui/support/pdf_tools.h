// Reads PDF files back with poppler's command-line tools, independently of the program's
// own PDF code: the text of a page, the page count and size, and the fonts.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace velquist::test {

inline QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of one page (from 1), or of the whole document with page 0.
inline QString PdfText(const QString& path, int page = 0) {
  QStringList arguments;
  if (page > 0)
    arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
              << QString::number(page);
  arguments << QStringLiteral("-layout") << path << QStringLiteral("-");
  return RunTool(QStringLiteral("pdftotext"), arguments);
}

inline QString PdfInfoValue(const QString& path, const QString& key) {
  const QString info = RunTool(QStringLiteral("pdfinfo"), {path});
  const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                QRegularExpression::MultilineOption);
  return line.match(info).captured(1).trimmed();
}

inline int PdfPageCount(const QString& path) {
  bool ok = false;
  const int pages = PdfInfoValue(path, QStringLiteral("Pages")).toInt(&ok);
  return ok ? pages : -1;
}

// The first page's size in points.
inline QSizeF PdfPageSize(const QString& path) {
  const QRegularExpression size(QStringLiteral("([0-9.]+) x ([0-9.]+) pts"));
  const QRegularExpressionMatch match = size.match(PdfInfoValue(path, QStringLiteral("Page size")));
  if (!match.hasMatch()) return {};
  return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
}

// pdffonts' table rows: one line per font, its name first.
inline QStringList PdfFonts(const QString& path) {
  QStringList lines = RunTool(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'));
  QStringList fonts;
  for (int i = 2; i < lines.size(); ++i) {
    if (!lines[i].trimmed().isEmpty()) fonts << lines[i].simplified();
  }
  return fonts;
}

}  // namespace velquist::test
