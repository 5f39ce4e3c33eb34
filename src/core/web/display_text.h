// Page text made fit for a menu or status line: one line, trimmed, and cut to a length
// counted the way the user-interface toolkit counts it (UTF-16 code units).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velquist {

// Decodes text as UTF-8 (each ill-formed sequence becomes U+FFFD), turns every character
// below U+0020 into a space, removes white space at both ends, then keeps as many whole
// characters as fit into maxUnits UTF-16 code units. The result is UTF-8. Menu texts
// still need their "&" doubled by the menu code.
std::string CleanDisplayText(std::string_view text, std::size_t maxUnits);

}  // namespace velquist
