#include "gui/print/print_window.h"

#include <QFile>
#include <QMainWindow>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrinter>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineHttpRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "gui/print/print_command.h"
#include "gui/print/print_pages.h"
#include "gui/print/print_preview.h"
#include "gui/print/report_scheme.h"
#include "gui/text/qt_text.h"
#include "results/format.h"
#include "site_constants.h"
#include "support/gui_test_main.h"
#include "support/pdf_tools.h"
#include "support/recording_opener.h"
#include "support/recording_prompter.h"

using namespace velquist;
using namespace velquist::test;

namespace {

constexpr int PreviewTimeoutMs = 60000;

QString Symbol(int row) { return QStringLiteral("S%1X").arg(row, 4, 10, QLatin1Char('0')); }

// A stock result set: a symbol column and columns - 1 number columns.
ResultSet Stocks(int rows, int columns) {
  ResultSet set;
  set.screener = "stocks";
  set.asof = "2024-05-03";
  set.total = rows * 2;
  set.columns.push_back({"s", "Symbol", "text", false});
  for (int c = 1; c < columns; ++c) {
    set.columns.push_back({"c" + std::to_string(c), "Col " + std::to_string(c), "num", false});
  }
  for (int r = 0; r < rows; ++r) {
    ResultRow row;
    row.push_back(ResultCell{CellKind::Text, 0, ToUtf8(Symbol(r))});
    for (int c = 1; c < columns; ++c) {
      row.push_back(ResultCell{CellKind::Number, r + c / 10.0, {}});
    }
    set.rows.push_back(std::move(row));
  }
  return set;
}

}  // namespace

class PrintWindowTest : public QObject {
  Q_OBJECT
 private:
  QWebEngineProfile* m_profile = nullptr;
  QMainWindow* m_owner = nullptr;
  QTemporaryDir m_dir;

  CPrintWnd* OpenReport(const ResultSet& set, const std::string& title = "Big caps") {
    PrintReport report;
    if (!MakePrintReport(set, title, "2024-05-03 18:00", report)) return nullptr;
    return CPrintWnd::Open(std::move(report), QStringLiteral("Print \u2014 test"), false, m_owner,
                           m_profile);
  }

  // Opens a report and waits until its preview shows the pages.
  CPrintWnd* OpenPreview(const ResultSet& set, const std::string& title = "Big caps") {
    CPrintWnd* window = OpenReport(set, title);
    if (!window) return nullptr;
    QSignalSpy shown(window, &CPrintWnd::previewShown);
    QSignalSpy failed(window, &CPrintWnd::previewFailed);
    if (!QTest::qWaitFor([&] { return !shown.isEmpty() || !failed.isEmpty(); }, PreviewTimeoutMs)) {
      qWarning("no preview");
    }
    if (!failed.isEmpty()) qWarning() << failed.first().first().toString();
    return window;
  }

  QString SavePdf(CPrintWnd& window, const QString& name) {
    RecordingPrompter prompter;
    const QString path = m_dir.filePath(name);
    prompter.fileAnswers.append(FileAnswer{path, 0});
    if (!window.Preview().SaveAsPdf()) return {};
    return path;
  }

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    m_profile = new QWebEngineProfile(QStringLiteral("PrintWindowTest"));
    m_owner = new QMainWindow;
    m_owner->setGeometry(120, 90, 1000, 700);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner));
  }

  void cleanupTestCase() {
    delete m_owner;  // and with it any print window it owns
    delete m_profile;
  }

  void opensOverTheOwnerAndLoadsTheReportFromMemory() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(40, 5));
    QVERIFY(window);
    QVERIFY(window->isWindow());
    QCOMPARE(window->parentWidget(), m_owner);
    QCOMPARE(window->geometry(), m_owner->geometry());
    QVERIFY(!window->isMaximized());
    QVERIFY(window->IsLoaded());
    QCOMPARE(window->SchemeHandler().Served(), 1);
    QCOMPARE(window->View().url().toEncoded().toStdString(), std::string(PrintReportUrl));
    QCOMPARE(window->View().title(), QStringLiteral("Big caps 2024-05-03"));
    // The preview opened by itself, with the pages of the report.
    QVERIFY(window->IsPreviewShown());
    QVERIFY(window->Preview().PageCount() >= 1);
    // Closing the window takes the preview's view and document with it.
    QPointer<QPdfView> pages = window->findChild<QPdfView*>();
    QPointer<QPdfDocument> document = &window->Preview().Document();
    QVERIFY(pages);
    QCOMPARE(pages->document(), document.data());
    window->close();
    QTRY_VERIFY(!window);
    QVERIFY(!pages);
    QVERIFY(!document);
  }

  void opensMaximisedOverAMaximisedOwner() {
    const QRect normal = m_owner->geometry();
    m_owner->showMaximized();
    QTRY_VERIFY(m_owner->isMaximized());
    QPointer<CPrintWnd> window = OpenReport(Stocks(3, 3));
    QVERIFY(window);
    QVERIFY(window->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(window->normalGeometry().size(), m_owner->normalGeometry().size());
    window->close();
    QTRY_VERIFY(!window);
    m_owner->showNormal();
    m_owner->setGeometry(normal);
  }

  // Only a GET of exactly the report's address is answered; a page without the print
  // window's own filters asks the scheme directly.
  void refusesEveryOtherRequest() {
    QPointer<CPrintWnd> window = OpenReport(Stocks(3, 3));
    QVERIFY(window);
    QTRY_VERIFY_WITH_TIMEOUT(window->IsLoaded(), 20000);
    const QString report = ToQString(PrintReportUrl);
    const struct {
      QString url;
      QWebEngineHttpRequest::Method method;
      bool ok;
    } cases[] = {
        {report, QWebEngineHttpRequest::Get, true},
        {report + QStringLiteral("?page=2"), QWebEngineHttpRequest::Get, false},
        {report.left(report.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/other.html"),
         QWebEngineHttpRequest::Get, false},
        {report, QWebEngineHttpRequest::Post, false},
    };
    for (const auto& c : cases) {
      QWebEnginePage probe(m_profile);
      QSignalSpy finished(&probe, &QWebEnginePage::loadFinished);
      const int served = window->SchemeHandler().Served();
      const int refused = window->SchemeHandler().Refused();
      probe.load(QWebEngineHttpRequest(QUrl(c.url, QUrl::StrictMode), c.method));
      QVERIFY2(finished.wait(20000), qPrintable(c.url));
      QCOMPARE(finished.first().first().toBool(), c.ok);
      QCOMPARE(window->SchemeHandler().Served(), served + (c.ok ? 1 : 0));
      // A loaded page may ask for its icon too, which is refused as well. The engine itself
      // refuses to post to the scheme, before the handler is asked.
      if (!c.ok && c.method == QWebEngineHttpRequest::Get) {
        QVERIFY2(window->SchemeHandler().Refused() > refused, qPrintable(c.url));
      }
    }
    // The report's own view never leaves the report, not even for its address with a query.
    RecordingOpener opener;
    const int served = window->SchemeHandler().Served();
    QSignalSpy finished(window->View().page(), &QWebEnginePage::loadFinished);
    window->View().page()->load(QUrl(report + QStringLiteral("?page=2"), QUrl::StrictMode));
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(window->View().url().toString(), report);
    QCOMPARE(window->SchemeHandler().Served(), served);
    QVERIFY(opener.opened.isEmpty());
    window->close();
    QTRY_VERIFY(!window);
  }

  void aSymbolLinkOpensTheDefaultBrowserAndTheWindowStays() {
    const ResultSet set = Stocks(3, 3);
    QPointer<CPrintWnd> window = OpenPreview(set);
    QVERIFY(window);
    window->ClosePreview();
    RecordingOpener opener;
    window->View().page()->runJavaScript(
        QStringLiteral("document.querySelector('td.s a').click()"));
    QTRY_COMPARE(opener.opened.size(), 1);
    const std::string expected = SymbolPageUrl(set, ToUtf8(Symbol(0)));
    QVERIFY(!expected.empty());
    QCOMPARE(opener.opened.first().toEncoded().toStdString(), expected);
    QVERIFY(opener.opened.first().query().contains(QStringLiteral("src=vqs")));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->View().url().toEncoded().toStdString(), std::string(PrintReportUrl));
    window->close();
    QTRY_VERIFY(!window);
  }

  void ctrlWAndEscapeClose() {
    for (int key : {int(Qt::Key_W), int(Qt::Key_Escape)}) {
      QPointer<CPrintWnd> window = OpenPreview(Stocks(3, 3));
      QVERIFY(window);
      window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window));
      QVERIFY(window->IsPreviewShown());
      QTest::keyClick(&window->Preview(), Qt::Key(key),
                      key == Qt::Key_W ? Qt::ControlModifier : Qt::NoModifier);
      QTRY_VERIFY(!window);
    }
  }

  void escapeInThePageIsLeftToThePage() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(3, 3));
    QVERIFY(window);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->ClosePreview();
    QTRY_VERIFY(window->View().focusProxy() && window->View().focusProxy()->hasFocus());
    // The page shows that it received the key by its title.
    bool listening = false;
    window->View().page()->runJavaScript(
        QStringLiteral("document.addEventListener('keydown', e => { if (e.key === 'Escape') "
                       "document.title = 'escape seen'; }); true"),
        [&listening](const QVariant&) { listening = true; });
    QTRY_VERIFY(listening);
    QWidget* page = window->View().focusProxy();
    QTest::keyClick(page, Qt::Key_Escape);
    QTRY_COMPARE(window->View().title(), QStringLiteral("escape seen"));
    QCoreApplication::processEvents();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    // Ctrl+W closes the window from the page too.
    QTest::keyClick(page, Qt::Key_W, Qt::ControlModifier);
    QTRY_VERIFY(!window);
  }

  // The preview stands from the start, saying that it is being prepared; the report can be
  // looked at before its pages are made, and the preview still opens with them.
  void thePreviewIsPreparedFromTheStartAndTheReportCanBeShownMeanwhile() {
    QPointer<CPrintWnd> window = OpenReport(Stocks(300, 12));
    QVERIFY(window);
    QVERIFY(!window->IsLoaded());
    QVERIFY(window->IsPreviewShown());
    QCOMPARE(window->Preview().PageCount(), 0);
    QVERIFY2(window->Preview().StateText().contains(QStringLiteral("Preparing")),
             qPrintable(window->Preview().StateText()));
    QSignalSpy shown(window.data(), &CPrintWnd::previewShown);
    window->ClosePreview();
    QVERIFY(!window->IsPreviewShown());
    QTRY_COMPARE_WITH_TIMEOUT(window->View().title(), QStringLiteral("Big caps 2024-05-03"),
                              PreviewTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, PreviewTimeoutMs);
    QVERIFY(window->IsPreviewShown());
    QCOMPARE(window->Preview().PageCount(), shown.first().first().toInt());
    QVERIFY(window->Preview().PageCount() >= 2);
    QCOMPARE(window->SchemeHandler().Served(), 1);
    window->close();
    QTRY_VERIFY(!window);
  }

  void ctrlPReopensThePreview() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(3, 3));
    QVERIFY(window);
    window->ClosePreview();
    QVERIFY(!window->IsPreviewShown());
    QSignalSpy shown(window.data(), &CPrintWnd::previewShown);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window.data(), Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE(shown.size(), 1);
    QVERIFY(window->IsPreviewShown());
    window->close();
    QTRY_VERIFY(!window);
  }

  // The saved PDF holds every symbol, the title and the page texts on every page, as text.
  void savedPdfCarriesTheRowsAndTheMarginTextsOnEveryPage() {
    const ResultSet set = Stocks(300, 6);
    QPointer<CPrintWnd> window = OpenPreview(set);
    QVERIFY(window);
    const int pages = window->Preview().PageCount();
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const QString path = SavePdf(*window, QStringLiteral("stocks.pdf"));
    QVERIFY(!path.isEmpty());
    QCOMPARE(PdfPageCount(path), pages);
    const QString all = PdfText(path);
    for (int r = 0; r < 300; ++r) QVERIFY2(all.contains(Symbol(r)), qPrintable(Symbol(r)));
    QVERIFY(all.contains(QStringLiteral("300 of 600 stocks")));
    for (int page = 1; page <= pages; ++page) {
      const QString text = PdfText(path, page);
      QStringList lines;
      for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty()) lines << line;  // pdftotext ends a page with \f
      }
      QVERIFY(!lines.isEmpty());
      // Bottom left the site and the program, bottom right the page number.
      const QString footer = lines.last().simplified();
      QVERIFY2(footer.endsWith(QStringLiteral("Page %1 of %2").arg(page).arg(pages)),
               qPrintable(footer));
      QVERIFY2(footer.startsWith(ToQString(SiteHost) + QStringLiteral(" \u2022 Velquist")),
               qPrintable(footer));
      const QString header = lines.first().simplified();
      if (page == 1) {
        // No top texts: the first line is the report's heading, and the date is only in
        // the report's own line under it.
        QCOMPARE(header, QStringLiteral("Big caps"));
        QCOMPARE(text.count(QStringLiteral("Data as of 2024-05-03")), 1);
        QVERIFY(text.contains(QStringLiteral("Data as of 2024-05-03 market close")));
      } else {
        QCOMPARE(header, QStringLiteral("Big caps Data as of 2024-05-03"));
      }
    }
    const QStringList fonts = PdfFonts(path);
    QVERIFY2(!fonts.isEmpty(), "no fonts: the text would be an image");
    for (const QString& font : fonts) {
      QVERIFY2(font.contains(QStringLiteral(" yes ")), qPrintable(font));
    }
    // The margin texts are drawn in the font the engine gives the report's text: the fonts
    // are the table's regular and bold, with no third one.
    QSet<QString> families;
    for (const QString& font : fonts) families << font.section(' ', 0, 0).section('+', -1);
    QCOMPARE(families.size(), 2);
    QVERIFY(PdfPageSize(path).height() > PdfPageSize(path).width());
    window->close();
    QTRY_VERIFY(!window);
  }

  void landscapeFromNineColumns() {
    for (int columns : {8, 9}) {
      QPointer<CPrintWnd> window = OpenPreview(Stocks(20, columns));
      QVERIFY(window);
      const QString path = SavePdf(*window, QStringLiteral("columns%1.pdf").arg(columns));
      QVERIFY(!path.isEmpty());
      const QSizeF size = PdfPageSize(path);
      QCOMPARE(size.width() > size.height(), columns >= 9);
      window->close();
      QTRY_VERIFY(!window);
    }
  }

  void previewNavigatesAndZooms() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(300, 6));
    QVERIFY(window);
    CPrintPreview& preview = window->Preview();
    QVERIFY(preview.PageCount() >= 3);
    QCOMPARE(preview.CurrentPage(), 1);
    preview.GoToPage(3);
    QTRY_COMPARE(preview.CurrentPage(), 3);
    preview.GoToPage(preview.PageCount() + 5);
    QTRY_COMPARE(preview.CurrentPage(), preview.PageCount());
    preview.ZoomIn();
    const double in = preview.ZoomFactor();
    preview.ZoomOut();
    preview.ZoomOut();
    QVERIFY(preview.ZoomFactor() < in);
    window->close();
    QTRY_VERIFY(!window);
  }

  // A page range is printed page by page; a PDF file stands in for the printer.
  void printsAPageRange() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(300, 6));
    QVERIFY(window);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = m_dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(path);
    QVERIFY(PrintPdfPages(window->Preview().Document(), printer, 2, 3));
    QCOMPARE(PdfPageCount(path), 2);
    QVERIFY(!PrintPdfPages(window->Preview().Document(), printer, 5, 4));
    QCOMPARE(PrintRenderDpi(1200), 300);
    QCOMPARE(PrintRenderDpi(150), 150);
    window->close();
    QTRY_VERIFY(!window);
  }

  void anUnwritableTargetTellsTheUser() {
    QPointer<CPrintWnd> window = OpenPreview(Stocks(3, 3));
    QVERIFY(window);
    RecordingPrompter prompter;
    // A path under a regular file cannot be written, not even by the superuser.
    const QString blocker = m_dir.filePath(QStringLiteral("plain-file"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    prompter.fileAnswers.append(FileAnswer{blocker + QStringLiteral("/report.pdf"), 0});
    QVERIFY(!window->Preview().SaveAsPdf());
    QCOMPARE(prompter.texts, QStringList{QStringLiteral("The PDF could not be saved.")});
    QCOMPARE(prompter.fileRequests.size(), 1);
    const FileRequest& request = prompter.fileRequests.first();
    QVERIFY(request.save);
    QCOMPARE(request.fileName, QStringLiteral("Big caps.pdf"));
    QCOMPARE(request.filters, QStringList{QStringLiteral("PDF document (*.pdf)")});
    // Cancelling the dialog writes nothing and says nothing.
    QVERIFY(!window->Preview().SaveAsPdf());
    QCOMPARE(prompter.fileRequests.size(), 2);
    QCOMPARE(prompter.texts.size(), 1);
    window->close();
    QTRY_VERIFY(!window);
  }
};

VELQUIST_GUI_TEST_MAIN(PrintWindowTest)
#include "print_window_test.moc"
