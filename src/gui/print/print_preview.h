// The print preview of the print window: the report's real pages as they will be printed
// (a vector PDF with the margin texts on every page), with the page count, page
// navigation and zoom, printing to any printer with a page range, and saving the PDF.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QWidget>

class QLabel;
class QPdfDocument;
class QPdfView;
class QSpinBox;
class QStackedLayout;
class QToolButton;

namespace velquist {

class CPrintPreview : public QWidget {
  Q_OBJECT
 public:
  // suggestedName is the file name the Save dialog offers.
  CPrintPreview(QString suggestedName, bool dark, QWidget* parent);
  ~CPrintPreview() override;

  // While the pages are made.
  void ShowPreparing();
  void ShowFailure(const QString& reason);
  // The finished document; the preview keeps the bytes for printing and saving.
  void ShowDocument(const QByteArray& pdf, int pages);

  bool HasDocument() const { return m_pages > 0; }
  int PageCount() const { return m_pages; }
  // The page shown at the top of the view, from 1.
  int CurrentPage() const;
  void GoToPage(int page);
  double ZoomFactor() const;
  void ZoomIn();
  void ZoomOut();
  void FitWidth();
  const QByteArray& Pdf() const { return m_pdf; }
  QPdfDocument& Document() const { return *m_document; }
  QString StateText() const;

  // Asks for a file name and writes the PDF there; false when nothing was written.
  bool SaveAsPdf();
  // Asks for a printer and a page range and prints.
  void Print();

 signals:
  void closeRequested();
  void currentPageChanged(int page);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* AddButton(const QString& text, const QString& tip);
  void SetZoom(double factor);
  void UpdatePageControls();

  QString m_suggestedName;
  QByteArray m_pdf;
  QBuffer m_buffer;
  int m_pages = 0;
  QPdfDocument* m_document = nullptr;
  QPdfView* m_view = nullptr;
  QLabel* m_message = nullptr;
  QStackedLayout* m_stack = nullptr;
  QWidget* m_bar = nullptr;
  QSpinBox* m_page = nullptr;
  QLabel* m_pageCount = nullptr;
  QLabel* m_zoom = nullptr;
  QList<QToolButton*> m_documentButtons;
};

}  // namespace velquist
