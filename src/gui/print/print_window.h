// The print window: a top-level window over the main window with the print report (loaded
// from memory under the report's address) and its print preview, which stands from the
// start, says that it is being prepared and shows the pages once the report has loaded and
// printed. The report is shown in a view of its own when the preview is closed. Links in
// the report go to the default browser; Ctrl+P opens the preview again, Ctrl+W closes the
// window, and so does Escape outside the report's page.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "print/page_margins.h"

class QAction;
class QStackedLayout;
class QWebEngineProfile;
class QWebEngineView;

namespace velquist {

class CPrintPreview;
class ReportPage;
class ReportPdfMaker;
class ReportSchemeHandler;

// What the window shows and prints.
struct PrintReport {
  std::string html;         // the report document
  PageMarginTexts margins;  // the texts on every page's margins
  bool landscape = false;
  QString pdfName;  // the file name "Save as PDF" offers
};

class CPrintWnd : public QWidget {
  Q_OBJECT
 public:
  // Opens the window over owner on the program's browser profile; nullptr when there is
  // no owner or no profile. The window deletes itself when closed.
  static CPrintWnd* Open(PrintReport report, const QString& caption, bool dark, QWidget* owner,
                         QWebEngineProfile* profile);
  ~CPrintWnd() override;

  // The report has finished loading once; printing is possible only then.
  bool IsLoaded() const { return m_loaded; }
  bool IsPreviewShown() const;
  // Ctrl+P: shows the print preview, making its pages the first time.
  void OpenPreview();
  // Back to the report.
  void ClosePreview();

  QWebEngineView& View() const { return *m_view; }
  CPrintPreview& Preview() const { return *m_preview; }
  const ReportSchemeHandler& SchemeHandler() const { return *m_scheme; }

 signals:
  void reportLoaded();
  // The preview shows its first page.
  void previewShown(int pages);
  void previewFailed(const QString& reason);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CPrintWnd(PrintReport report, bool dark, QWidget* owner, QWebEngineProfile* profile);
  void CreateView();
  void CreateShortcuts();
  void LoadFinished(bool ok);
  // Gives the report's page to the view, once.
  void ShowPage();
  bool FocusInPage() const;

  QWebEngineProfile* m_profile = nullptr;
  PrintReport m_report;
  bool m_loaded = false;
  bool m_pageShown = false;
  QStackedLayout* m_stack = nullptr;
  ReportSchemeHandler* m_scheme = nullptr;
  ReportPage* m_page = nullptr;
  QWebEngineView* m_view = nullptr;
  CPrintPreview* m_preview = nullptr;
  ReportPdfMaker* m_maker = nullptr;
  QAction* m_printAction = nullptr;
};

}  // namespace velquist
