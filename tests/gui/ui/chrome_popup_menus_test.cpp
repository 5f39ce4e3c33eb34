#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/ui/chrome_menus.h"
#include "gui/ui/chrome_toolbar.h"
#include "site_constants.h"
#include "support/gui_test_main.h"
#include "support/recording_opener.h"
#include "support/row_requests.h"
#include "ui/chrome_commands.h"

using namespace velquist;

namespace {

const QString kOrigin = QString::fromLatin1(SiteOrigin.data(), SiteOrigin.size());

// Waits for the next pop-up menu, hands it to inspect, then chooses the entry with
// command choose (0 dismisses the menu), as a user would with the keyboard.
void WhenMenuShows(std::function<void(QMenu&)> inspect, int choose) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, inspect, choose] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    inspect(*menu);
    if (choose == 0) {
      QTest::keyClick(menu, Qt::Key_Escape);
      return;
    }
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->data().toInt() == choose) {
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
    }
    QTest::keyClick(menu, Qt::Key_Escape);
  });
  timer->start();
}

struct Entries {
  QStringList texts;
  QList<int> checked;
  QList<int> disabled;
  QList<int> bold;
  int defaultCommand = 0;
  int commands = 0;
};

Entries Read(QMenu& menu) {
  Entries e;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      e.texts << QStringLiteral("-");
      continue;
    }
    ++e.commands;
    e.texts << action->text();
    if (action->isChecked()) e.checked << action->data().toInt();
    if (!action->isEnabled()) e.disabled << action->data().toInt();
    if (action->font().bold()) e.bold << action->data().toInt();
  }
  if (QAction* d = menu.defaultAction()) e.defaultCommand = d->data().toInt();
  return e;
}

RowMenuRequest Request(int items) {
  return test::RowRequest("MSFT", "/stocks/msft.html", "Page", "/stocks/msft", items);
}

}  // namespace

class ChromePopupMenusTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    m_window = std::make_unique<QWidget>();
    m_toolBar = new CChromeToolBar(m_window.get());
    m_toolBar->resize(m_toolBar->sizeHint());
    m_window->resize(m_toolBar->sizeHint().width(), 300);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_kind = ScreenerKind::Stocks;
    m_url.clear();
    m_navigated.clear();
    m_status.clear();
    m_posted.clear();
    m_owner.window = m_window.get();
    m_owner.toolBar = m_toolBar;
    m_owner.activeKind = [this] { return m_kind; };
    m_owner.currentUrl = [this] { return m_url; };
    m_owner.navigate = [this](const std::string& url) { m_navigated.push_back(url); };
    m_owner.showStatus = [this](const QString& s) { m_status = s; };
    m_owner.postCommand = [this](int id) { m_posted.push_back(id); };
  }
  void cleanup() { m_window.reset(); }

  void presetsMenuOnTheStocksTab() {
    m_url = SiteOrigin;
    m_url += "/screener/penny-stocks.html#f=price-lt-5";
    Entries seen;
    bool pressedWhileOpen = false;
    QPoint menuAt;
    WhenMenuShows(
        [&](QMenu& menu) {
          seen = Read(menu);
          pressedWhileOpen = m_toolBar->IsButtonPressed(kCmdPresets);
          menuAt = menu.pos();
        },
        40006 - 1);  // Penny stocks is 40006; choose the one above it
    ShowPresetsMenu(m_owner);
    QCOMPARE(seen.texts.size(), 16);
    QCOMPARE(seen.texts[0], QStringLiteral("All stocks"));
    QCOMPARE(seen.texts[1], QStringLiteral("-"));
    QCOMPARE(seen.texts[7], QStringLiteral("Penny stocks"));
    QCOMPARE(seen.checked, QList<int>{40006});
    QVERIFY(pressedWhileOpen);
    QVERIFY(!m_toolBar->IsButtonPressed(kCmdPresets));
    // The menu drops down from the button, not from the mouse.
    const QRect button = m_toolBar->ButtonRect(kCmdPresets);
    QCOMPARE(menuAt.x(), m_toolBar->mapToGlobal(button.bottomLeft()).x());
    QVERIFY(menuAt.y() >= m_toolBar->mapToGlobal(button.bottomLeft()).y());
    QCOMPARE(m_navigated.size(), std::size_t(1));
    QCOMPARE(m_navigated[0], std::string(SiteOrigin) + "/screener/growth-stocks.html");
  }

  void presetsMenuOnTheEtfTab() {
    m_kind = ScreenerKind::Etfs;
    m_url = std::string(SiteOrigin) + "/etf-screener.html#s=aum";
    Entries seen;
    WhenMenuShows([&](QMenu& menu) { seen = Read(menu); }, 40012);
    ShowPresetsMenu(m_owner);
    QCOMPARE(seen.texts[0], QStringLiteral("All ETFs"));
    QCOMPARE(seen.texts[2], QStringLiteral("Largest ETFs"));
    QCOMPARE(seen.texts[13], QStringLiteral("Bitcoin && crypto ETFs"));
    QCOMPARE(seen.checked, QList<int>{40000});
    QCOMPARE(m_navigated.size(), std::size_t(1));
    QCOMPARE(m_navigated[0], std::string(SiteOrigin) + "/screener/etf-crypto.html");
  }

  void dismissedPresetsMenuDoesNothing() {
    WhenMenuShows([](QMenu&) {}, 0);
    ShowPresetsMenu(m_owner);
    QVERIFY(m_navigated.empty());
  }

  void helpMenuPostsTheChosenCommand() {
    Entries seen;
    WhenMenuShows([&](QMenu& menu) { seen = Read(menu); }, kCmdPellmoor);
    ShowHelpMenu(m_owner);
    QCOMPARE(seen.texts.size(), 7);
    QCOMPARE(seen.texts[0], QStringLiteral("How to use the screener (") +
                                QString::fromLatin1(SiteDomain.data(), SiteDomain.size()) +
                                QStringLiteral(")\tF1"));
    QCOMPARE(seen.texts[6], QStringLiteral("About Velquist\u2026"));
    QCOMPARE(m_posted, std::vector<int>{kCmdPellmoor});
  }

  void helpCommandsOpenTaggedLinks() {
    test::RecordingOpener opener;
    QVERIFY(RunHelpCommand(kCmdHelpGuide, ScreenerKind::Etfs));
    QVERIFY(RunHelpCommand(kCmdVisitSite, ScreenerKind::Etfs));
    QVERIFY(!RunHelpCommand(kCmdAbout, ScreenerKind::Etfs));
    QCOMPARE(opener.opened.size(), 2);
    QCOMPARE(opener.opened[0].toString(), kOrigin + "/etf-screener.html?src=vqs");
    QCOMPARE(opener.opened[1].toString(), kOrigin + "/?src=vqs");
  }

  void rowMenuWithFortyItemsOpensTheLast() {
    test::RecordingOpener opener;
    Entries seen;
    WhenMenuShows([&](QMenu& menu) { seen = Read(menu); }, 40639);
    ShowRowMenu(m_owner, Request(40), QPoint(50, 50));
    QTRY_COMPARE(opener.opened.size(), 1);
    QCOMPARE(seen.commands, 42);  // title, 40 items, Copy link
    QCOMPARE(seen.texts[0], QStringLiteral("MSFT \u2014 stock on ") +
                                QString::fromLatin1(SiteDomain.data(), SiteDomain.size()));
    QCOMPARE(seen.disabled, QList<int>{-1});
    QCOMPARE(seen.texts[2], QStringLiteral("Page 1"));
    QCOMPARE(seen.texts[41], QStringLiteral("Page 40"));
    QCOMPARE(seen.defaultCommand, 40600);
    QCOMPARE(seen.bold, QList<int>{40600});
    QCOMPARE(seen.texts.last(), QStringLiteral("Copy link"));
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened[0].toString(), kOrigin + "/stocks/msft-40.html?src=vqs");
  }

  void rowMenuWithoutItemsShowsOverview() {
    test::RecordingOpener opener;
    Entries seen;
    RowMenuRequest request = Request(0);
    request.isEtf = true;
    WhenMenuShows([&](QMenu& menu) { seen = Read(menu); }, kRowOverviewId);
    ShowRowMenu(m_owner, request, QPoint(50, 50));
    QTRY_COMPARE(opener.opened.size(), 1);
    QCOMPARE(seen.texts, (QStringList{QStringLiteral("MSFT \u2014 ETF on ") +
                                          QString::fromLatin1(SiteDomain.data(), SiteDomain.size()),
                                      "-", "Overview", "-", "Copy link"}));
    QCOMPARE(seen.defaultCommand, int(kRowOverviewId));
    QCOMPARE(seen.bold, QList<int>{kRowOverviewId});
    QCOMPARE(opener.opened.size(), 1);
    QCOMPARE(opener.opened[0].toString(), kOrigin + "/stocks/msft.html?src=vqs");
  }

  void copyLinkPutsTheTaggedLinkOnTheClipboard() {
    test::RecordingOpener opener;
    QApplication::clipboard()->setText(QStringLiteral("before"));
    WhenMenuShows([](QMenu&) {}, kRowCopyLinkId);
    ShowRowMenu(m_owner, Request(3), QPoint(50, 50));
    const QString link = kOrigin + "/stocks/msft.html?src=vqs";
    QTRY_COMPARE(QApplication::clipboard()->text(), link);
    QCOMPARE(m_status, QStringLiteral("Link copied: ") + link);
    QVERIFY(opener.opened.isEmpty());
  }

 private:
  std::unique_ptr<QWidget> m_window;
  CChromeToolBar* m_toolBar = nullptr;
  MenuOwner m_owner;
  ScreenerKind m_kind = ScreenerKind::Stocks;
  std::string m_url;
  std::vector<std::string> m_navigated;
  QString m_status;
  std::vector<int> m_posted;
};

VELQUIST_GUI_TEST_MAIN(ChromePopupMenusTest)
#include "chrome_popup_menus_test.moc"
