// Shortening a one-line text to a width by cutting out its middle, as the status strip
// does with long status texts and links.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velquist {

// Width of a UTF-8 text in whatever unit the caller draws in.
using TextWidthFn = std::function<int(std::string_view)>;

inline constexpr std::string_view kEllipsis = "\u2026";

// The text itself when it fits in maxWidth; otherwise the longest head + "…" + tail that
// fits, head and tail cut at whole UTF-8 characters with the head never shorter than the
// tail. When not even "…" fits, "…" alone is returned.
std::string ElideMiddle(std::string_view text, int maxWidth, const TextWidthFn& width);

}  // namespace velquist
