#include "app/reg_file_option_store.h"

#include <gtest/gtest.h>

#include <string>

#include "app/options.h"
#include "test_folder.h"

namespace velquist {
namespace {

using testing::Exists;
using testing::ReadTestFile;
using testing::TestFolder;
using testing::WriteTestFile;

const std::string KeyLine = "[HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist]\r\n";
const std::string Head = "Windows Registry Editor Version 5.00\r\n\r\n" + KeyLine;

TEST(RegFileOptionStore, MissingFileOrKeyCannotBeOpened) {
  TestFolder dir;
  RegFileOptionStore missing(dir / "Velquist.reg");
  EXPECT_FALSE(missing.OpenForReading());
  WriteTestFile(dir / "other.reg",
                "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Other]\n\"a\"=\"b\"\n");
  RegFileOptionStore otherKey(dir / "other.reg");
  EXPECT_FALSE(otherKey.OpenForReading());
  std::string text;
  EXPECT_FALSE(otherKey.ReadString("a", text));
}

TEST(RegFileOptionStore, ValueOfTheOtherTypeCountsAsAbsent) {
  TestFolder dir;
  WriteTestFile(dir / "v.reg", Head +
                                   "\"Text\"=\"12\"\n\"Number\"=dword:0000000c\n"
                                   "\"Expand\"=hex(2):61,00,00,00\n\"Wide\"=hex(4):01,00\n");
  RegFileOptionStore store(dir / "v.reg");
  ASSERT_TRUE(store.OpenForReading());
  std::string text;
  std::uint32_t number = 0;
  EXPECT_TRUE(store.ReadString("text", text));
  EXPECT_EQ(text, "12");
  EXPECT_FALSE(store.ReadDword("Text", number));
  EXPECT_TRUE(store.ReadDword("Number", number));
  EXPECT_EQ(number, 12u);
  EXPECT_FALSE(store.ReadString("Number", text));
  EXPECT_FALSE(store.ReadString("Expand", text));
  EXPECT_FALSE(store.ReadDword("Wide", number));  // not four bytes
  EXPECT_FALSE(store.ReadString("Absent", text));
}

TEST(RegFileOptionStore, StringSizeLimitAndFirstNul) {
  TestFolder dir;
  // 8191 characters and the terminator fill 16384 bytes exactly.
  const std::string fits(8191, 'a'), tooLong(8192, 'b');
  WriteTestFile(dir / "v.reg", Head + "\"Fits\"=\"" + fits + "\"\n\"Long\"=\"" + tooLong +
                                   "\"\n\"Nul\"=hex(1):61,00,00,00,62,00,00,00\n"
                                   "\"Unterminated\"=hex(1):61,00,62,00\n");
  RegFileOptionStore store(dir / "v.reg");
  ASSERT_TRUE(store.OpenForReading());
  std::string text;
  EXPECT_TRUE(store.ReadString("Fits", text));
  EXPECT_EQ(text, fits);
  text = "kept";
  EXPECT_FALSE(store.ReadString("Long", text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(store.ReadString("Nul", text));
  EXPECT_EQ(text, "a");
  EXPECT_TRUE(store.ReadString("Unterminated", text));
  EXPECT_EQ(text, "ab");
}

TEST(RegFileOptionStore, HandEditedFileGivesTheOptions) {
  TestFolder dir;
  WriteTestFile(dir / "Velquist.reg",
                "Windows Registry Editor Version 5.00\r\n"
                "; options edited by hand\r\n"
                "\r\n"
                "[hkey_current_user\\software\\orvane software\\velquist]\r\n"
                "\"activetab\"=\"etfs\"\r\n"
                "\"LastEtfs\"=\"/screener/etf-bonds.html#s=1\"\r\n"
                "\"Zoom\"=dword:0000007D   ; 125 %\r\n"
                "\"ColorMode\"=\"dark\"\r\n"
                "\"WindowLeft\"=dword:FFFFFFF8\r\n"
                "\"WindowTop\"=dword:0\r\n"
                "\"WindowRight\"=dword:00000400\r\n"
                "\"WindowBottom\"=dword:00000300\r\n");
  RegFileOptionStore store(dir / "Velquist.reg");
  AppOptions options;
  ASSERT_TRUE(LoadOptions(store, options));
  EXPECT_EQ(options.ActiveTab, ScreenerKind::Etfs);
  EXPECT_EQ(options.LastEtfs, "/screener/etf-bonds.html#s=1");
  EXPECT_EQ(options.Zoom, 1.25);
  EXPECT_EQ(options.ColorMode, ColorMode::Dark);
  EXPECT_TRUE(options.Placement.Valid);
  EXPECT_EQ(options.Placement.Left, -8);
  EXPECT_EQ(options.Placement.Right, 1024);
}

TEST(RegFileOptionStore, WritesAFileItReadsBack) {
  TestFolder dir;
  const std::string path = dir / "Velquist.reg";
  RegFileOptionStore store(path);
  ASSERT_TRUE(store.OpenForWriting());
  EXPECT_TRUE(store.WriteString("LastStocks", "/screener.html#n=caf\xC3\xA9"));
  EXPECT_TRUE(store.WriteDword("WindowLeft", 0xFFFFFF9Cu));
  EXPECT_TRUE(store.WriteString("LastStocks", "/screener.html#x"));  // replaces
  ASSERT_TRUE(store.FinishWriting());
  EXPECT_FALSE(Exists(path + ".tmp"));
  EXPECT_EQ(ReadTestFile(path), Head +
                                    "\"LastStocks\"=\"/screener.html#x\"\r\n"
                                    "\"WindowLeft\"=dword:ffffff9c\r\n\r\n");
  RegFileOptionStore again(path);
  ASSERT_TRUE(again.OpenForReading());
  std::string text;
  std::uint32_t number = 0;
  EXPECT_TRUE(again.ReadString("LastStocks", text));
  EXPECT_EQ(text, "/screener.html#x");
  EXPECT_TRUE(again.ReadDword("WindowLeft", number));
  EXPECT_EQ(number, 0xFFFFFF9Cu);
}

TEST(RegFileOptionStore, KeepsOtherKeysAndValues) {
  TestFolder dir;
  const std::string path = dir / "Velquist.reg";
  WriteTestFile(path,
                "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Other]\n"
                "\"x\"=hex:01\n\n"
                "[HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist]\n"
                "\"Custom\"=\"mine\"\n\"Zoom\"=dword:00000064\n");
  RegFileOptionStore store(path);
  ASSERT_TRUE(store.OpenForWriting());
  store.WriteDword("Zoom", 150);
  ASSERT_TRUE(store.FinishWriting());
  EXPECT_EQ(ReadTestFile(path),
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n"
            "\"x\"=hex:01\r\n\r\n" +
                KeyLine + "\"Custom\"=\"mine\"\r\n\"Zoom\"=dword:00000096\r\n\r\n");
}

TEST(RegFileOptionStore, MalformedFileIsNeitherReadNorOverwritten) {
  TestFolder dir;
  const std::string path = dir / "Velquist.reg";
  const std::string broken = Head + "\"Zoom\"=dword:zz\n";
  WriteTestFile(path, broken);
  RegFileOptionStore store(path);
  EXPECT_FALSE(store.OpenForReading());
  EXPECT_EQ(store.Problem(), "bad dword at line 4");
  EXPECT_FALSE(store.OpenForWriting());
  EXPECT_FALSE(store.WriteDword("Zoom", 100));
  EXPECT_FALSE(store.FinishWriting());
  EXPECT_EQ(ReadTestFile(path), broken);
}

TEST(RegFileOptionStore, FailedFileWriteIsReported) {
  TestFolder dir;
  RegFileOptionStore store(dir / "no-folder/Velquist.reg");
  ASSERT_TRUE(store.OpenForWriting());
  EXPECT_TRUE(store.WriteDword("Zoom", 100));
  EXPECT_FALSE(store.FinishWriting());
  EXPECT_FALSE(Exists(dir / "no-folder"));
}

TEST(RegFileOptionStore, NothingIsReadOrWrittenWithoutOpening) {
  TestFolder dir;
  const std::string path = dir / "Velquist.reg";
  WriteTestFile(path, Head + "\"Zoom\"=dword:00000064\n");
  RegFileOptionStore store(path);
  std::uint32_t number = 0;
  EXPECT_FALSE(store.ReadDword("Zoom", number));
  EXPECT_FALSE(store.WriteDword("Zoom", 1));
  EXPECT_FALSE(store.FinishWriting());
  EXPECT_EQ(ReadTestFile(path), Head + "\"Zoom\"=dword:00000064\n");
}

}  // namespace
}  // namespace velquist
