// The texts made from a large result set (the export's file, the print report) can need
// more memory than there is; running out is reported to the user instead of ending the
// program.
#pragma once

#include <new>
#include <string>

namespace velquist {

// Sets out to what build() returns; false, with out empty, when memory ran out.
template <typename Build>
bool BuildWithinMemory(std::string& out, Build&& build) {
  out.clear();
  try {
    out = build();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace velquist
