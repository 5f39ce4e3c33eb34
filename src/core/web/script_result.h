// Scripts run in a page answer with the JSON text of their value, as the program reads
// every script result.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// expression wrapped so that the page answers with JSON.stringify of its value, or "null"
// when the value has no JSON text (undefined, a function). A value that cannot be
// stringified (a cycle) or an exception makes the run fail.
std::string ScriptReturningJson(std::string_view expression);

}  // namespace velquist
