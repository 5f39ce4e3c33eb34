#include "app/reg_file.h"

#include <gtest/gtest.h>

#include <string>

#include "text/utf16.h"

namespace velquist {
namespace {

std::string Sz(std::string_view text) { return Utf8ToUtf16Le(text) + std::string(2, '\0'); }

std::string Dword(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

TEST(ParseRegFile, ReadsAHandEditedFile) {
  const std::string text =
      "; written by hand\r\n"
      "\r\n"
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; the program's key\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist]\r\n"
      "\"ActiveTab\"=\"etfs\"\r\n"
      "  \"Quoted\" = \"say \\\"hi\\\" C:\\\\dir\" ; trailing comment\n"
      "\"Zoom\"=dword:0000007D\r\n"
      "\"Short\"=dword:1f\n"
      "@=\"default\"\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  ff\r\n"
      "\"Multi\"=hex(7):61,00,00,00,00,00\n"
      "\"activetab\"=\"stocks\"\n"
      "\n"
      "[HKEY_CURRENT_USER\\Other]\n"
      "\"x\"=\"\xC3\xA9\"\n";
  RegFile file;
  std::string error;
  ASSERT_TRUE(ParseRegFile(text, file, &error)) << error;
  ASSERT_EQ(file.keys.size(), 2u);
  const RegKey& key = file.keys[0];
  EXPECT_EQ(key.path, "HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist");
  ASSERT_EQ(key.values.size(), 7u);
  // A repeated name (letter case aside) replaces the value in its place.
  EXPECT_EQ(key.values[0].name, "activetab");
  EXPECT_EQ(key.values[0].data, Sz("stocks"));
  EXPECT_EQ(key.values[1].name, "Quoted");
  EXPECT_EQ(key.values[1].data, Sz("say \"hi\" C:\\dir"));
  EXPECT_EQ(key.values[2].type, RegDwordType);
  EXPECT_EQ(key.values[2].data, Dword(125));
  EXPECT_EQ(key.values[3].data, Dword(31));
  EXPECT_EQ(key.values[4].name, "");
  EXPECT_EQ(key.values[5].type, RegBinaryType);
  EXPECT_EQ(key.values[5].data, "\x01\x02\xFF");
  EXPECT_EQ(key.values[6].type, 7u);
  EXPECT_EQ(key.values[6].data, std::string("a\0\0\0\0\0", 6));
  EXPECT_EQ(FindRegValue(key, "ZOOM"), &key.values[2]);
  EXPECT_EQ(FindRegKey(file, "hkey_current_user\\other"), &file.keys[1]);
  EXPECT_EQ(file.keys[1].values[0].data, Sz("\xC3\xA9"));
}

TEST(ParseRegFile, ReadsUtf16FilesAsWindowsWritesThem) {
  const std::string text =
      "\xFF\xFE" + Utf8ToUtf16Le(
                       "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                       "\"Name\"=\"Caf\xC3\xA9\"\r\n");
  RegFile file;
  ASSERT_TRUE(ParseRegFile(text, file));
  ASSERT_EQ(file.keys.size(), 1u);
  EXPECT_EQ(file.keys[0].values.at(0).data, Sz("Caf\xC3\xA9"));
}

TEST(ParseRegFile, RefusesMalformedFiles) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const std::string key = "[HKEY_CURRENT_USER\\K]\n";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"", "missing header"},
      {"REGEDIT4\n" + key, "missing header at line 1"},
      {header + "\"a\"=\"b\"\n", "value outside a key at line 2"},
      {header + key + "\"a\"=dword:123456789\n", "bad dword at line 3"},
      {header + key + "\"a\"=dword:12g4\n", "bad dword at line 3"},
      {header + key + "\"a\"=dword:\n", "bad dword at line 3"},
      {header + key + "\"a\"=dword:-1\n", "bad dword at line 3"},
      {header + key + "\"a\"=\"unterminated\n", "bad string at line 3"},
      {header + key + "\"a\"=\"bad \\n escape\"\n", "bad string at line 3"},
      {header + key + "\"a\"=\"x\" junk\n", "bad string at line 3"},
      {header + key + "\"a\"=-\n", "value deletions are not supported at line 3"},
      {header + "[-HKEY_CURRENT_USER\\K]\n", "key deletions are not supported at line 2"},
      {header + "[]\n", "empty key name at line 2"},
      {header + "[HKEY_CURRENT_USER\\K\n", "bad key line at line 2"},
      {header + key + "\"a\"=hex:1,2,345\n", "bad hex data at line 3"},
      {header + key + "\"a\"=hex(zz):01\n", "bad hex data at line 3"},
      {header + key + "\"a\"=hex\n", "bad hex data at line 3"},
      {header + key + "\"a\"=qword:1\n", "unknown value type at line 3"},
      {header + key + "\"a\"\n", "expected = at line 3"},
      {header + key + "\"a=\"b\"\n", "expected = at line 3"},
      {header + key + "just words\n", "unexpected text at line 3"},
  };
  for (const Case& c : cases) {
    RegFile file;
    file.keys.push_back(RegKey{"stale", {}});
    std::string error;
    EXPECT_FALSE(ParseRegFile(c.text, file, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_TRUE(file.keys.empty());
  }
}

// Every cut of a valid file, and every single-byte change of it, is either read or refused;
// whatever is read writes back to text that reads the same.
TEST(ParseRegFile, DamagedFilesAreReadOrRefusedWhole) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
      "\"s\"=\"a \\\"b\\\" \\\\\"\r\n\"d\"=dword:0000007d\r\n\"h\"=hex(1):61,00,\\\r\n  00,00\r\n"
      "@=\"\"\r\n";
  RegFile whole;
  ASSERT_TRUE(ParseRegFile(text, whole));
  ASSERT_EQ(whole.keys.at(0).values.size(), 4u);
  auto check = [](const std::string& damaged) {
    RegFile file;
    std::string error;
    if (!ParseRegFile(damaged, file, &error)) {
      EXPECT_FALSE(error.empty());
      EXPECT_TRUE(file.keys.empty());
      return;
    }
    RegFile again;
    ASSERT_TRUE(ParseRegFile(RegFileText(file), again)) << damaged;
    ASSERT_EQ(again.keys.size(), file.keys.size());
    for (std::size_t k = 0; k < file.keys.size(); ++k) {
      ASSERT_EQ(again.keys[k].values.size(), file.keys[k].values.size());
      for (std::size_t v = 0; v < file.keys[k].values.size(); ++v) {
        EXPECT_EQ(again.keys[k].values[v].data, file.keys[k].values[v].data);
      }
    }
  };
  for (std::size_t cut = 0; cut <= text.size(); ++cut) check(text.substr(0, cut));
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (char c : {'\0', '"', '\\', '[', ']', '\n', '=', ',', '\xC3', ';'}) {
      std::string damaged = text;
      damaged[i] = c;
      check(damaged);
    }
  }
}

TEST(RegFileText, WritesTheExportFormat) {
  RegFile file;
  file.keys.push_back(RegKey{"HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist",
                             {{"ActiveTab", RegStringType, Sz("stocks")},
                              {"Zoom", RegDwordType, Dword(110)},
                              {"Odd \"name\"", RegStringType, Sz("back\\slash")},
                              {"", RegStringType, Sz("")},
                              {"Lines", RegStringType, Sz("a\nb")},
                              {"Bytes", RegBinaryType, std::string("\x00\xAB", 2)}}});
  EXPECT_EQ(RegFileText(file),
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Orvane Software\\Velquist]\r\n"
            "\"ActiveTab\"=\"stocks\"\r\n"
            "\"Zoom\"=dword:0000006e\r\n"
            "\"Odd \\\"name\\\"\"=\"back\\\\slash\"\r\n"
            "@=\"\"\r\n"
            "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
            "\"Bytes\"=hex:00,ab\r\n"
            "\r\n");
}

TEST(RegFileText, ReadsBackWhatItWrites) {
  RegFile file;
  file.keys.push_back(RegKey{"HKEY_CURRENT_USER\\A",
                             {{"s", RegStringType, Sz("Caf\xC3\xA9 \xF0\x9F\x93\x88 \"q\"")},
                              {"nul", RegStringType, Sz(std::string("a\0b", 3))},
                              {"d", RegDwordType, Dword(0xFFFFFF9Cu)},
                              {"short dword", RegDwordType, "\x01"},
                              {"empty", RegBinaryType, ""}}});
  file.keys.push_back(RegKey{"HKEY_CURRENT_USER\\B", {}});
  RegFile back;
  std::string error;
  ASSERT_TRUE(ParseRegFile(RegFileText(file), back, &error)) << error;
  ASSERT_EQ(back.keys.size(), 2u);
  ASSERT_EQ(back.keys[0].values.size(), file.keys[0].values.size());
  for (std::size_t i = 0; i < file.keys[0].values.size(); ++i) {
    EXPECT_EQ(back.keys[0].values[i].name, file.keys[0].values[i].name);
    EXPECT_EQ(back.keys[0].values[i].type, file.keys[0].values[i].type);
    EXPECT_EQ(back.keys[0].values[i].data, file.keys[0].values[i].data);
  }
  EXPECT_EQ(back.keys[1].path, "HKEY_CURRENT_USER\\B");
}

}  // namespace
}  // namespace velquist
