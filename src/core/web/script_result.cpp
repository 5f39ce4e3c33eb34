#include "web/script_result.h"

namespace velquist {

std::string ScriptReturningJson(std::string_view expression) {
  std::string script = "(function(){var t=JSON.stringify(";
  script += expression;
  script += ");return typeof t==='string'?t:'null';})()";
  return script;
}

}  // namespace velquist
