#include "results/results_reply.h"

#include <new>

#include "results/results_reader.h"

namespace velquist {
namespace {

ResultsReply Message(std::string message, ReplyIcon icon) {
  return ResultsReply{false, std::move(message), icon};
}

std::string NoMatchText(ResultsRequest kind, std::string_view screener) {
  std::string text = screener == "etfs" ? "No ETFs" : "No stocks";
  text += " match these filters, so there is nothing to ";
  text += kind == ResultsRequest::Print ? "print." : "export.";
  return text;
}

}  // namespace

std::string_view PreparingStatusText(ResultsRequest kind) {
  return kind == ResultsRequest::Print ? "Preparing the printout\xE2\x80\xA6"
                                       : "Preparing the export\xE2\x80\xA6";
}

ResultsReply ReadResultsReply(ResultsRequest kind, bool runFailed, std::string_view text,
                              ResultSet& set) {
  set = ResultSet{};
  const bool print = kind == ResultsRequest::Print;
  if (runFailed || text.empty()) {
    return Message("The results could not be read from the page.", ReplyIcon::Exclamation);
  }
  if (text == "\"nohook\"") {
    return Message(std::string(print ? "Printing" : "Export") +
                       " needs the latest version of the screener page.\n\nClick Refresh "
                       "(F5) and try again.",
                   ReplyIcon::Information);
  }
  if (text == "null") {
    return Message("The screener is still loading. Please try again in a moment.",
                   ReplyIcon::Information);
  }
  std::string error;
  bool read = false;
  try {
    read = ReadResults(text, set, &error);
  } catch (const std::bad_alloc&) {
    set = ResultSet{};  // the rows read so far go
    error = "not enough memory";
  }
  if (!read) {
    return Message(std::string(print ? "The results could not be printed.\n\n"
                                     : "The results could not be exported.\n\n") +
                       error,
                   ReplyIcon::Exclamation);
  }
  if (set.rows.empty()) return Message(NoMatchText(kind, set.screener), ReplyIcon::Information);
  return ResultsReply{true, {}, ReplyIcon::Information};
}

}  // namespace velquist
