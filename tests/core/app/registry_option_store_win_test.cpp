// The options store over the current user's registry hive. Each test works in a key of
// its own below the real one's parent and removes it afterwards; values are checked with
// the registry's own calls, so the types and encodings are what other tools see.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/options.h"
#include "app/registry_option_store.h"
#include "app/wide_text_win.h"

namespace velquist {
namespace {

class TestKey {
 public:
  TestKey()
      : m_path("SOFTWARE\\Orvane Software\\Velquist Test " +
               std::to_string(GetCurrentProcessId())) {
    Remove();
  }
  ~TestKey() { Remove(); }
  const std::string& Path() const { return m_path; }

  void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(m_path).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, WideFromUtf8(name).c_str(), 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetText(const std::string& name, const std::wstring& text) const {
    SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  // The stored type and bytes of a value; type 0 when it is absent.
  std::pair<DWORD, std::string> Raw(const std::string& name) const {
    DWORD type = 0, size = 0;
    const std::wstring path = WideFromUtf8(m_path), wideName = WideFromUtf8(name);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, nullptr, &size) != ERROR_SUCCESS) {
      return {0, {}};
    }
    std::string data(size, '\0');
    RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                 &type, data.data(), &size);
    data.resize(size);
    return {type, data};
  }

 private:
  void Remove() const { RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8(m_path).c_str()); }
  std::string m_path;
};

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()),
                     (text.size() + 1) * sizeof(wchar_t));
}

std::string DwordBytes(DWORD value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST(RegistryOptionStore, IsTheKeyTheOptionsAreNamedBy) {
  EXPECT_EQ("HKEY_CURRENT_USER\\" + std::string(OptionsSubKey), OptionsKeyPath);
}

TEST(RegistryOptionStore, MissingKeyCannotBeOpenedForReading) {
  TestKey key;
  RegistryOptionStore store(key.Path());
  EXPECT_FALSE(store.OpenForReading());
  std::string text;
  EXPECT_FALSE(store.ReadString("ActiveTab", text));
  AppOptions options;
  options.Zoom = 1.5;
  EXPECT_FALSE(LoadOptions(store, options));
  EXPECT_EQ(options.Zoom, 1.5);
}

TEST(RegistryOptionStore, WritesRegSzAndRegDword) {
  TestKey key;
  RegistryOptionStore store(key.Path());
  ASSERT_TRUE(store.OpenForWriting());
  EXPECT_TRUE(store.WriteString("LastStocks", "/screener.html#n=caf\xC3\xA9"));
  EXPECT_TRUE(store.WriteDword("WindowLeft", 0xFFFFFF9Cu));
  EXPECT_TRUE(store.WriteString("Empty", ""));
  ASSERT_TRUE(store.FinishWriting());
  EXPECT_EQ(key.Raw("LastStocks"),
            std::make_pair(DWORD{REG_SZ}, Utf16Bytes(L"/screener.html#n=caf\u00e9")));
  EXPECT_EQ(key.Raw("WindowLeft"), std::make_pair(DWORD{REG_DWORD}, DwordBytes(0xFFFFFF9Cu)));
  EXPECT_EQ(key.Raw("Empty"), std::make_pair(DWORD{REG_SZ}, Utf16Bytes(L"")));
  // Writing ends with FinishWriting.
  EXPECT_FALSE(store.WriteDword("Late", 1));
  EXPECT_EQ(key.Raw("Late").first, 0u);
}

TEST(RegistryOptionStore, ValueOfTheOtherTypeCountsAsAbsent) {
  TestKey key;
  key.SetText("Text", L"12");
  const DWORD twelve = 12;
  key.SetRaw("Number", REG_DWORD, &twelve, sizeof twelve);
  const wchar_t expand[] = L"%APPDATA%";
  key.SetRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
  const unsigned char binary[] = {1, 0, 0, 0};
  key.SetRaw("Binary", REG_BINARY, binary, sizeof binary);
  RegistryOptionStore store(key.Path());
  ASSERT_TRUE(store.OpenForReading());
  std::string text;
  std::uint32_t number = 0;
  EXPECT_TRUE(store.ReadString("text", text));  // names ignore letter case
  EXPECT_EQ(text, "12");
  EXPECT_FALSE(store.ReadDword("Text", number));
  EXPECT_TRUE(store.ReadDword("Number", number));
  EXPECT_EQ(number, 12u);
  EXPECT_FALSE(store.ReadString("Number", text));
  EXPECT_FALSE(store.ReadString("Expand", text));
  EXPECT_FALSE(store.ReadDword("Binary", number));
  EXPECT_FALSE(store.ReadString("Absent", text));
}

TEST(RegistryOptionStore, StringSizeLimitAndFirstNul) {
  TestKey key;
  // 8191 characters and the terminator fill 16384 bytes exactly.
  key.SetText("Fits", std::wstring(8191, L'a'));
  key.SetText("Long", std::wstring(8192, L'b'));
  const wchar_t nul[] = {L'a', 0, L'b', 0};
  key.SetRaw("Nul", REG_SZ, nul, sizeof nul);
  RegistryOptionStore store(key.Path());
  ASSERT_TRUE(store.OpenForReading());
  std::string text;
  EXPECT_TRUE(store.ReadString("Fits", text));
  EXPECT_EQ(text, std::string(8191, 'a'));
  text = "kept";
  EXPECT_FALSE(store.ReadString("Long", text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(store.ReadString("Nul", text));
  EXPECT_EQ(text, "a");
}

TEST(RegistryOptionStore, OptionsRoundTripWithTheirNamesAndTypes) {
  TestKey key;
  AppOptions saved;
  saved.ActiveTab = ScreenerKind::Etfs;
  saved.LastEtfs = "/etf-screener.html#s=caf\xC3\xA9";
  saved.RestoreLast = false;
  saved.Zoom = 0.67;
  saved.ColorMode = ColorMode::Dark;
  saved.Placement = SavedPlacement{true, -8, 10, 1200, 900, true};
  RegistryOptionStore store(key.Path());
  ASSERT_TRUE(SaveOptions(store, saved));
  EXPECT_EQ(key.Raw("ActiveTab"), std::make_pair(DWORD{REG_SZ}, Utf16Bytes(L"etfs")));
  EXPECT_EQ(key.Raw("ColorMode"), std::make_pair(DWORD{REG_SZ}, Utf16Bytes(L"dark")));
  EXPECT_EQ(key.Raw("Zoom"), std::make_pair(DWORD{REG_DWORD}, DwordBytes(67)));
  EXPECT_EQ(key.Raw("RestoreLast"), std::make_pair(DWORD{REG_DWORD}, DwordBytes(0)));
  EXPECT_EQ(key.Raw("ShowSplash"), std::make_pair(DWORD{REG_DWORD}, DwordBytes(1)));
  EXPECT_EQ(key.Raw("WindowLeft"),
            std::make_pair(DWORD{REG_DWORD}, DwordBytes(static_cast<DWORD>(-8))));
  EXPECT_EQ(key.Raw("WindowMaximized"), std::make_pair(DWORD{REG_DWORD}, DwordBytes(1)));

  AppOptions loaded;
  RegistryOptionStore again(key.Path());
  ASSERT_TRUE(LoadOptions(again, loaded));
  EXPECT_EQ(loaded.ActiveTab, ScreenerKind::Etfs);
  EXPECT_EQ(loaded.LastEtfs, saved.LastEtfs);
  EXPECT_FALSE(loaded.RestoreLast);
  EXPECT_EQ(loaded.Zoom, 0.67);
  EXPECT_EQ(loaded.ColorMode, ColorMode::Dark);
  EXPECT_TRUE(loaded.Placement.Valid);
  EXPECT_EQ(loaded.Placement.Left, -8);
  EXPECT_EQ(loaded.Placement.Bottom, 900);
  EXPECT_TRUE(loaded.Placement.Maximized);
}

TEST(RegistryOptionStore, InvalidValuesLeaveTheOptions) {
  TestKey key;
  key.SetText("ActiveTab", L"Stocks");  // letter case matters in values
  const DWORD zoom = 24;                // below 25 %
  key.SetRaw("Zoom", REG_DWORD, &zoom, sizeof zoom);
  key.SetText("LastEtfs", L"/screener.html");  // a stock screener in the ETF value
  RegistryOptionStore store(key.Path());
  AppOptions options;
  ASSERT_TRUE(LoadOptions(store, options));
  EXPECT_EQ(options.ActiveTab, ScreenerKind::Stocks);
  EXPECT_EQ(options.Zoom, 1.0);
  EXPECT_EQ(options.LastEtfs, "/etf-screener.html");
}

}  // namespace
}  // namespace velquist
