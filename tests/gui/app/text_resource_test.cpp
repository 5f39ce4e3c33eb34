#include "gui/app/text_resource.h"

#include <QTest>

#include "gui/web/page_script_source.h"
#include "site_constants.h"
#include "support/gui_test_main.h"

using namespace velquist;

class TextResourceTest : public QObject {
  Q_OBJECT
 private slots:
  void offlinePageHoldsOnePlaceholder() {
    const std::string page = ReadTextResource(OfflinePageResource);
    const auto first = page.find("{{ERROR}}");
    QVERIFY(first != std::string::npos);
    QCOMPARE(page.find("{{ERROR}}", first + 1), std::string::npos);
    QVERIFY(page.find("The screener could not be loaded") != std::string::npos);
    QVERIFY(page.find("id=\"retry\"") != std::string::npos);
    // Nothing is loaded from the network.
    QCOMPARE(page.find("http"), std::string::npos);
  }

  void missingResourceIsEmpty() {
    QCOMPARE(ReadTextResource(QStringLiteral(":/velquist/no-such-file")), std::string());
  }

  void pageScriptCarriesChannelShimAndSiteHost() {
    const QString script = PageScriptSource();
    QVERIFY(script.contains(QStringLiteral("QWebChannel")));
    QVERIFY(script.contains(QStringLiteral("window.chrome.webview")));
    QVERIFY(script.contains(QStringLiteral("'vxBridge'")));
    QVERIFY(!script.contains(QStringLiteral("@SITE_HOST@")));
    QVERIFY(script.contains(QString::fromUtf8(SiteHost.data(), qsizetype(SiteHost.size()))));
  }
};

VELQUIST_GUI_TEST_MAIN(TextResourceTest)
#include "text_resource_test.moc"
