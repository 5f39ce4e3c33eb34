#include "gui/web/request_interceptor.h"

#include <QTest>

#include "support/gui_test_main.h"

using namespace velquist;
using Info = QWebEngineUrlRequestInfo;

class RequestInterceptorTest : public QObject {
  Q_OBJECT
 private slots:
  void mapsResourceTypesToRequestClasses_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("expected");
    const int document = int(RequestClass::Document);
    const int fetch = int(RequestClass::DataFetch);
    const int asset = int(RequestClass::Asset);
    const int worker = int(RequestClass::Worker);
    QTest::newRow("main frame") << int(Info::ResourceTypeMainFrame) << document;
    QTest::newRow("sub frame") << int(Info::ResourceTypeSubFrame) << document;
    QTest::newRow("xhr and fetch") << int(Info::ResourceTypeXhr) << fetch;
    QTest::newRow("style sheet") << int(Info::ResourceTypeStylesheet) << asset;
    QTest::newRow("script") << int(Info::ResourceTypeScript) << asset;
    QTest::newRow("image") << int(Info::ResourceTypeImage) << asset;
    QTest::newRow("font") << int(Info::ResourceTypeFontResource) << asset;
    QTest::newRow("ping") << int(Info::ResourceTypePing) << asset;
    QTest::newRow("dedicated worker") << int(Info::ResourceTypeWorker) << asset;
    QTest::newRow("shared worker") << int(Info::ResourceTypeSharedWorker) << worker;
    QTest::newRow("service worker") << int(Info::ResourceTypeServiceWorker) << worker;
    QTest::newRow("unknown") << int(Info::ResourceTypeUnknown) << asset;
  }
  void mapsResourceTypesToRequestClasses() {
    QFETCH(int, type);
    QFETCH(int, expected);
    QCOMPARE(int(RequestClassOf(static_cast<Info::ResourceType>(type))), expected);
  }
};

VELQUIST_GUI_TEST_MAIN(RequestInterceptorTest)
#include "request_interceptor_test.moc"
