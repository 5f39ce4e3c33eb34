// The results request that Export and Print share: the script run in the page, and what
// to do with its answer (hand a result set on, or which message to show).
#pragma once

#include <string>
#include <string_view>

#include "results/result_set.h"

namespace velquist {

// Which command is waiting for the page's answer; at most one at a time.
enum class ResultsRequest { None = 0, Export = 1, Print = 2 };

// Run unchanged in the active tab; it answers the string "nohook" on pages without the
// hook, null while the page has no results yet, else the results object.
inline constexpr std::string_view ResultsScript =
    "(function(){var q=window.VXScreener;if(!q||typeof q.getResults!=='function')return "
    "'nohook';return q.getResults();})()";

// The status text while the request is pending.
std::string_view PreparingStatusText(ResultsRequest kind);

enum class ReplyIcon { Exclamation, Information };

struct ResultsReply {
  bool ready = false;   // the set holds at least one row for the command
  std::string message;  // otherwise the message to show
  ReplyIcon icon = ReplyIcon::Exclamation;
};

// Decides the answer of a script run for an Export or Print request. runFailed is true
// when the run reported an error; text is its JSON result as UTF-8. set is filled when
// the answer is ready. Running out of memory while the rows are read is reported like any
// other unreadable answer.
ResultsReply ReadResultsReply(ResultsRequest kind, bool runFailed, std::string_view text,
                              ResultSet& set);

}  // namespace velquist
