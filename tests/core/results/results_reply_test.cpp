#include "results/results_reply.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

const char* const OneRow =
    R"({"version":1,"screener":"stocks","columns":[{"key":"s"}],"rows":[["AAPL"]]})";

ResultsReply Reply(ResultsRequest kind, bool failed, std::string_view text) {
  ResultSet set;
  set.rows.resize(2);
  ResultsReply reply = ReadResultsReply(kind, failed, text, set);
  EXPECT_EQ(reply.ready, !set.rows.empty()) << text;
  return reply;
}

TEST(ReadResultsReply, Messages) {
  using R = ResultsRequest;
  const struct {
    R kind;
    bool failed;
    std::string text;
    const char* message;
    ReplyIcon icon;
  } cases[] = {
      {R::Export, true, OneRow, "The results could not be read from the page.",
       ReplyIcon::Exclamation},
      {R::Print, false, "", "The results could not be read from the page.", ReplyIcon::Exclamation},
      {R::Export, false, "\"nohook\"",
       "Export needs the latest version of the screener page.\n\nClick Refresh (F5) and try "
       "again.",
       ReplyIcon::Information},
      {R::Print, false, "\"nohook\"",
       "Printing needs the latest version of the screener page.\n\nClick Refresh (F5) and try "
       "again.",
       ReplyIcon::Information},
      {R::Export, false, "null", "The screener is still loading. Please try again in a moment.",
       ReplyIcon::Information},
      {R::Export, false, " null",
       "The results could not be exported.\n\nthe page returned no results",
       ReplyIcon::Exclamation},
      {R::Print, false, " \"nohook\"",
       "The results could not be printed.\n\nthe page returned no results", ReplyIcon::Exclamation},
      {R::Print, false, R"({"version":2})",
       "The results could not be printed.\n\nunsupported results version", ReplyIcon::Exclamation},
      {R::Export, false, R"({"version":1,"screener":"stocks","columns":[{"key":"a"}],"rows":[]})",
       "No stocks match these filters, so there is nothing to export.", ReplyIcon::Information},
      {R::Print, false, R"({"version":1,"screener":"etfs","columns":[{"key":"a"}],"rows":[]})",
       "No ETFs match these filters, so there is nothing to print.", ReplyIcon::Information},
  };
  for (const auto& c : cases) {
    const ResultsReply reply = Reply(c.kind, c.failed, c.text);
    EXPECT_FALSE(reply.ready) << c.text;
    EXPECT_EQ(reply.message, c.message) << c.text;
    EXPECT_EQ(reply.icon, c.icon) << c.text;
  }
}

TEST(ReadResultsReply, ParserErrorIsShownInTheMessage) {
  const ResultsReply reply = Reply(ResultsRequest::Export, false, "{");
  EXPECT_FALSE(reply.ready);
  EXPECT_EQ(reply.message.rfind("The results could not be exported.\n\n", 0), 0u);
  EXPECT_NE(reply.message.find(" at offset "), std::string::npos);
}

TEST(ReadResultsReply, ReadyWithRows) {
  ResultSet set;
  const ResultsReply reply = ReadResultsReply(ResultsRequest::Print, false, OneRow, set);
  EXPECT_TRUE(reply.ready);
  EXPECT_TRUE(reply.message.empty());
  ASSERT_EQ(set.rows.size(), 1u);
  EXPECT_EQ(set.rows[0][0].text, "AAPL");
}

TEST(PreparingStatusText, ByKind) {
  EXPECT_EQ(PreparingStatusText(ResultsRequest::Export), "Preparing the export\xE2\x80\xA6");
  EXPECT_EQ(PreparingStatusText(ResultsRequest::Print), "Preparing the printout\xE2\x80\xA6");
}

}  // namespace
}  // namespace velquist
