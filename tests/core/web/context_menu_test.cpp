#include "web/context_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquist {
namespace {

// Items written as names, "-" for a separator; ids count from 1 so the result can be
// traced back to the input.
std::vector<ContextMenuItem> Menu(const std::vector<std::string>& names) {
  std::vector<ContextMenuItem> items;
  int id = 0;
  for (const std::string& name : names) {
    ++id;
    if (name == "-") {
      items.push_back({"", true, id});
    } else {
      items.push_back({name, false, id});
    }
  }
  return items;
}

std::string Shown(const std::vector<ContextMenuItem>& items) {
  std::string text;
  for (const ContextMenuItem& item : items) {
    if (!text.empty()) text += ' ';
    text += item.separator ? "-" : item.name;
    text += ':' + std::to_string(item.id);
  }
  return text;
}

TEST(ContextMenuTest, KeptNames) {
  for (const char* name : {"copy", "cut", "paste", "pasteAndMatchStyle", "selectAll", "undo",
                           "redo", "emoji", "copyLinkLocation"}) {
    EXPECT_TRUE(IsKeptContextMenuItem(name)) << name;
  }
  for (const char* name : {"Copy", "copy ", "back", "forward", "reload", "saveAs", "print",
                           "inspectElement", "openLinkInNewWindow", "copyImage", ""}) {
    EXPECT_FALSE(IsKeptContextMenuItem(name)) << name;
  }
}

TEST(ContextMenuTest, FilterTable) {
  struct Case {
    std::vector<std::string> menu;
    std::string shown;
  };
  const Case cases[] = {
      {{"copy", "-", "-", "inspectElement"}, "copy:1"},
      {{"back", "forward", "-", "print"}, ""},
      {{}, ""},
      {{"-", "-"}, ""},
      {{"-", "copy", "-", "selectAll", "-"}, "copy:2 -:3 selectAll:4"},
      {{"back", "-", "cut", "copy", "paste", "-", "saveAs", "-", "selectAll"},
       "cut:3 copy:4 paste:5 -:6 selectAll:9"},
      {{"undo", "redo", "-", "reload", "-", "emoji"}, "undo:1 redo:2 -:3 emoji:6"},
      {{"copyLinkLocation", "openLinkInNewWindow", "-", "inspectElement"}, "copyLinkLocation:1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Shown(FilterContextMenu(Menu(c.menu))), c.shown);
  }
}

TEST(ContextMenuTest, PrintReportKeepsCopyingAndPrinting) {
  for (const char* name : {"copy", "selectAll", "copyLinkLocation", "print"}) {
    EXPECT_TRUE(IsKeptContextMenuItem(name, ContextMenuSet::PrintReport)) << name;
  }
  for (const char* name : {"cut", "paste", "undo", "emoji", "back", "reload", "saveAs",
                           "inspectElement", "Print", ""}) {
    EXPECT_FALSE(IsKeptContextMenuItem(name, ContextMenuSet::PrintReport)) << name;
  }
  EXPECT_EQ(Shown(FilterContextMenu(
                Menu({"back", "-", "copy", "cut", "-", "selectAll", "viewSource", "-", "print"}),
                ContextMenuSet::PrintReport)),
            "copy:3 -:5 selectAll:6 -:8 print:9");
}

}  // namespace
}  // namespace velquist
