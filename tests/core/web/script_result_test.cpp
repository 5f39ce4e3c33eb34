#include "web/script_result.h"

#include <gtest/gtest.h>

namespace velquist {
namespace {

TEST(ScriptReturningJson, WrapsTheExpressionUnchanged) {
  EXPECT_EQ(ScriptReturningJson("1+1"),
            "(function(){var t=JSON.stringify(1+1);return typeof t==='string'?t:'null';})()");
  EXPECT_EQ(ScriptReturningJson("(function(){return 'a;b';})()"),
            "(function(){var t=JSON.stringify((function(){return 'a;b';})());return typeof "
            "t==='string'?t:'null';})()");
}

}  // namespace
}  // namespace velquist
