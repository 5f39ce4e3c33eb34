// The print command: given the results of a Print request, asks before a long printout,
// builds the report and opens the print window over the main window (one at a time).
#pragma once

#include <QObject>
#include <QPointer>
#include <string_view>

#include "data/screens.h"
#include "gui/print/print_window.h"
#include "results/result_set.h"

namespace velquist {

class CMainFrame;

// The report, its margin texts, page shape and PDF name for a result set. title is the
// screen's name (empty when it has none), printedTime the local time as the report shows it.
// False when there was not enough memory for the report.
bool MakePrintReport(const ResultSet& set, std::string_view title, std::string_view printedTime,
                     PrintReport& report);

// The current local time as the report prints it.
std::string PrintedTimeNow();

class CPrintCommand : public QObject {
  Q_OBJECT
 public:
  CPrintCommand(CMainFrame& frame, const ScreenStore& screens);
  ~CPrintCommand() override;

  // The print flow for the (non-empty) results of a Print request.
  void Run(const ResultSet& set);
  // The open print window, or nullptr.
  CPrintWnd* Window() const { return m_window; }
  // Destroys the print window now, if one is open.
  void CloseWindow();

 private:
  CMainFrame& m_frame;
  const ScreenStore& m_screens;
  QPointer<CPrintWnd> m_window;
};

}  // namespace velquist
