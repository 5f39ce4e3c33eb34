#include "ui/chrome_menus.h"

#include <gtest/gtest.h>

#include "site_constants.h"
#include "ui/chrome_commands.h"

namespace velquist {
namespace {

const std::string kOrigin(SiteOrigin);

std::vector<int> CheckedIds(const std::vector<PopupEntry>& entries) {
  std::vector<int> ids;
  for (const PopupEntry& e : entries) {
    if (e.checked) ids.push_back(e.command);
  }
  return ids;
}

TEST(PresetsMenu, StocksLayout) {
  const auto entries = PresetsMenuEntries(ScreenerKind::Stocks, "");
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_EQ(entries[0].command, kPresetAllId);
  EXPECT_EQ(entries[0].text, "All stocks");
  EXPECT_EQ(entries[1].command, 0);
  EXPECT_EQ(entries[2].command, 40001);
  EXPECT_EQ(entries[2].text, "Dividend stocks");
  EXPECT_EQ(entries[15].command, 40014);
  EXPECT_EQ(entries[15].text, "Golden cross");
  EXPECT_TRUE(CheckedIds(entries).empty());
}

TEST(PresetsMenu, EtfLayoutKeepsTheDoubledAmpersand) {
  const auto entries = PresetsMenuEntries(ScreenerKind::Etfs, "");
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_EQ(entries[0].text, "All ETFs");
  EXPECT_EQ(entries[2].text, "Largest ETFs");
  EXPECT_EQ(entries[13].text, "Bitcoin && crypto ETFs");
}

TEST(PresetsMenu, CheckMarkFollowsThePathWhateverTheFragment) {
  auto e = PresetsMenuEntries(ScreenerKind::Stocks, kOrigin + "/screener.html#f=cap-gt-1b&s=x");
  EXPECT_EQ(CheckedIds(e), std::vector<int>{kPresetAllId});
  e = PresetsMenuEntries(ScreenerKind::Stocks, kOrigin + "/screener/penny-stocks.html");
  EXPECT_EQ(CheckedIds(e), std::vector<int>{40006});
  e = PresetsMenuEntries(ScreenerKind::Etfs, kOrigin + "/screener/etf-crypto.html#p=2");
  EXPECT_EQ(CheckedIds(e), std::vector<int>{40012});
  e = PresetsMenuEntries(ScreenerKind::Etfs, kOrigin + "/etf-screener.html");
  EXPECT_EQ(CheckedIds(e), std::vector<int>{kPresetAllId});
}

TEST(PresetsMenu, NoCheckMarkForForeignOrOtherPages) {
  // A Stocks preset path seen while the ETF menu is shown marks nothing.
  EXPECT_TRUE(
      CheckedIds(PresetsMenuEntries(ScreenerKind::Etfs, kOrigin + "/screener/penny-stocks.html"))
          .empty());
  EXPECT_TRUE(CheckedIds(PresetsMenuEntries(ScreenerKind::Stocks,
                                            "https://elsewhere.example/screener.html"))
                  .empty());
  EXPECT_TRUE(
      CheckedIds(PresetsMenuEntries(ScreenerKind::Stocks, kOrigin + "/Screener.html")).empty());
  EXPECT_TRUE(CheckedIds(PresetsMenuEntries(ScreenerKind::Stocks, "not a url")).empty());
}

TEST(PresetsMenu, Targets) {
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Stocks, kPresetAllId), kOrigin + "/screener.html");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Etfs, kPresetAllId), kOrigin + "/etf-screener.html");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Stocks, 40006),
            kOrigin + "/screener/penny-stocks.html");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Etfs, 40014),
            kOrigin + "/screener/etf-best-performing.html");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Stocks, 40015), "");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Stocks, 39999), "");
  EXPECT_EQ(PresetsMenuTarget(ScreenerKind::Stocks, 0), "");
}

TEST(HelpMenu, EntriesAndLinks) {
  const auto entries = HelpMenuEntries();
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[0].text, "How to use the screener (" + std::string(SiteDomain) + ")\tF1");
  EXPECT_EQ(entries[1].text, "Visit " + std::string(SiteHost));
  EXPECT_EQ(entries[2].command, 0);
  EXPECT_EQ(entries[3].text, "Graphwick stock charts");
  EXPECT_EQ(entries[4].text, "Pellmoor");
  EXPECT_EQ(entries[5].command, 0);
  EXPECT_EQ(entries[6].command, kCmdAbout);
  EXPECT_EQ(HelpCommandLink(kCmdHelpGuide, ScreenerKind::Etfs),
            kOrigin + "/etf-screener.html?src=vqs");
  EXPECT_EQ(HelpCommandLink(kCmdHelpGuide, ScreenerKind::Stocks),
            kOrigin + "/screener.html?src=vqs");
  EXPECT_EQ(HelpCommandLink(kCmdVisitSite, ScreenerKind::Stocks), kOrigin + "/?src=vqs");
  EXPECT_EQ(HelpCommandLink(kCmdGraphwick, ScreenerKind::Stocks),
            kOrigin + "/graphwick.html?src=vqs");
  EXPECT_EQ(HelpCommandLink(kCmdPellmoor, ScreenerKind::Stocks),
            kOrigin + "/pellmoor.html?src=vqs");
  EXPECT_EQ(HelpCommandLink(kCmdAbout, ScreenerKind::Stocks), "");
}

RowMenuModel ModelWithItems(int count) {
  RowMenuModel m;
  m.symbol = "AAPL";
  m.defaultPath = "/stocks/aapl.html";
  for (int i = 0; i < count; ++i) {
    m.items.push_back(
        {"Item " + std::to_string(i + 1), "/stocks/aapl-" + std::to_string(i + 1) + ".html"});
  }
  m.useItems = count > 0;
  return m;
}

TEST(RowMenu, OverviewWhenThePageGaveNoItems) {
  RowMenuModel m = ModelWithItems(0);
  const auto entries = RowMenuEntries(m);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].text, "AAPL \u2014 stock on " + std::string(SiteDomain));
  EXPECT_FALSE(entries[0].enabled);
  EXPECT_EQ(entries[1].command, 0);
  EXPECT_EQ(entries[2].command, kRowOverviewId);
  EXPECT_EQ(entries[2].text, "Overview");
  EXPECT_TRUE(entries[2].isDefault);
  EXPECT_EQ(entries[3].command, 0);
  EXPECT_EQ(entries[4].command, kRowCopyLinkId);
  EXPECT_EQ(entries[4].text, "Copy link");
  EXPECT_EQ(RowMenuLink(m, kRowOverviewId), kOrigin + "/stocks/aapl.html?src=vqs");
}

TEST(RowMenu, FortyItemsAndTheLastOpensItsPage) {
  RowMenuModel m = ModelWithItems(40);
  m.etf = true;
  const auto entries = RowMenuEntries(m);
  ASSERT_EQ(entries.size(), 44u);
  EXPECT_EQ(entries[0].text, "AAPL \u2014 ETF on " + std::string(SiteDomain));
  EXPECT_EQ(entries[2].command, 40600);
  EXPECT_TRUE(entries[2].isDefault);
  EXPECT_FALSE(entries[3].isDefault);
  EXPECT_EQ(entries[41].command, 40639);
  EXPECT_EQ(entries[41].text, "Item 40");
  EXPECT_EQ(RowMenuLink(m, 40639), kOrigin + "/stocks/aapl-40.html?src=vqs");
  EXPECT_EQ(RowMenuLink(m, 40600), kOrigin + "/stocks/aapl-1.html?src=vqs");
}

TEST(RowMenu, ItemsBeyondFortyAreNotShown) {
  RowMenuModel m = ModelWithItems(45);
  EXPECT_EQ(RowMenuEntries(m).size(), 44u);
}

TEST(RowMenu, OnlySectionPagesOpen) {
  RowMenuModel m = ModelWithItems(2);
  m.items[1].path = "/screener.html";  // not one folder below the root
  EXPECT_EQ(RowMenuLink(m, 40601), "");
  m.items[1].path = "https://evil.example/x.html";
  EXPECT_EQ(RowMenuLink(m, 40601), "");
  m.items[1].path = "/stocks/../x.html";
  EXPECT_EQ(RowMenuLink(m, 40601), "");
  EXPECT_EQ(RowMenuLink(m, 0), "");
  EXPECT_EQ(RowMenuLink(m, kRowCopyLinkId), "");
  // An item id past the page's items falls back to the default path.
  EXPECT_EQ(RowMenuLink(m, 40610), kOrigin + "/stocks/aapl.html?src=vqs");
}

TEST(RowMenu, CopyLinkAndStatus) {
  RowMenuModel m = ModelWithItems(3);
  const std::string link = RowCopyLink(m);
  EXPECT_EQ(link, kOrigin + "/stocks/aapl.html?src=vqs");
  EXPECT_EQ(LinkCopiedStatus(link), "Link copied: " + link);
}

TEST(RowMenu, PageTextsShowAsWritten) {
  RowMenuModel m = ModelWithItems(1);
  m.symbol = "T&T";
  m.items[0].label = "News & events";
  const auto entries = RowMenuEntries(m);
  EXPECT_EQ(entries[0].text.substr(0, 4), "T&&T");
  EXPECT_EQ(entries[2].text, "News && events");
  EXPECT_EQ(EscapeMenuText("&&"), "&&&&");
}

}  // namespace
}  // namespace velquist
