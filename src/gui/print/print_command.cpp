#include "gui/print/print_command.h"

#include <QApplication>
#include <QDateTime>

#include "gui/text/qt_text.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/prompter.h"
#include "print/print_texts.h"
#include "print/report.h"
#include "results/format.h"
#include "results/results_reader.h"

namespace velquist {

bool MakePrintReport(const ResultSet& set, std::string_view title, std::string_view printedTime,
                     PrintReport& report) {
  if (!BuildPrintReport(set, title, printedTime, report.html)) return false;
  report.margins = ReportMarginTexts(set, title);
  report.landscape = IsLandscapeReport(set);
  report.pdfName = ToQString(SanitizeFileName(PrintDisplayTitle(set, title)) + ".pdf");
  return true;
}

std::string PrintedTimeNow() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return PrintedTimeText(static_cast<unsigned>(date.year()), static_cast<unsigned>(date.month()),
                         static_cast<unsigned>(date.day()), static_cast<unsigned>(time.hour()),
                         static_cast<unsigned>(time.minute()));
}

CPrintCommand::CPrintCommand(CMainFrame& frame, const ScreenStore& screens)
    : QObject(&frame), m_frame(frame), m_screens(screens) {}

CPrintCommand::~CPrintCommand() { CloseWindow(); }

void CPrintCommand::CloseWindow() { delete m_window.data(); }

void CPrintCommand::Run(const ResultSet& set) {
  const std::string count = ResultsCountText(set);
  if (IsLongPrintout(set.rows.size()) &&
      !Prompter().Ask(&m_frame, PromptIcon::Question, ToQString(LongPrintoutQuestion(count)))) {
    return;
  }
  if (!m_frame.Profile()) {
    QApplication::beep();
    return;
  }
  const std::string title = ResultsScreenName(set, m_screens);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PrintReport report;
  const bool built = MakePrintReport(set, title, PrintedTimeNow(), report);
  QApplication::restoreOverrideCursor();
  if (!built) {
    Prompter().Show(&m_frame, PromptIcon::Exclamation, ToQString(PrintPreviewFailedText));
    return;
  }
  CloseWindow();
  const QString caption = ToQString(PrintWindowCaption(PrintDisplayTitle(set, title), count));
  m_window =
      CPrintWnd::Open(std::move(report), caption, m_frame.IsDark(), &m_frame, m_frame.Profile());
  if (m_window) {
    m_frame.ShowStatusText(ToQString(PrintPreviewStatusText(count)));
  } else {
    Prompter().Show(&m_frame, PromptIcon::Exclamation, ToQString(PrintPreviewFailedText));
  }
}

}  // namespace velquist
