// Start-up steps of the application object that need no browser: a missing browser
// engine helper ends the start with a question, and Yes opens the download page.
#include "gui/app/screener_app.h"

#include <QTest>

#include "support/gui_test_main.h"
#include "support/recording_opener.h"
#include "support/recording_prompter.h"

using namespace velquist;
using namespace velquist::test;

class ScreenerAppTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // Where the browser engine would look for its helper process.
    qputenv("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess");
  }

  void missingEngineAsksAndEndsTheStart_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
  }
  void missingEngineAsksAndEndsTheStart() {
    QFETCH(bool, answer);
    RecordingPrompter prompter;
    prompter.answer = answer;
    RecordingOpener opener;
    CScreenerApp app({QStringLiteral("--test")});
    app.SetInstanceName(QStringLiteral("velquist-app-test-%1").arg(answer));
    QVERIFY(!app.InitInstance());
    QVERIFY(app.MainFrame() == nullptr);
    QCOMPARE(prompter.texts.size(), 1);
    QCOMPARE(prompter.icons.front(), PromptIcon::Information);
    QVERIFY(prompter.texts.front().startsWith(
        QStringLiteral("Velquist needs the Qt WebEngine browser component")));
    QVERIFY(prompter.texts.front().contains(QStringLiteral("libqt6webenginecore6-bin")));
    if (answer) {
      QCOMPARE(opener.opened.size(), 1);
      QCOMPARE(opener.opened.front().scheme(), QStringLiteral("https"));
    } else {
      QVERIFY(opener.opened.isEmpty());
    }
  }
};

VELQUIST_GUI_TEST_MAIN(ScreenerAppTest)
#include "screener_app_test.moc"
