// The ready-made screens of the site: fourteen per screener, in menu order. Labels are
// menu texts, so "&&" shows as one "&".
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "site/screener_kind.h"

namespace velquist {

struct Preset {
  std::string_view label;  // as a menu item text: "&&" shows as "&"
  std::string_view path;   // a site screener page
};

inline constexpr int PresetCount = 14;

// The presets of one screener in menu order.
std::span<const Preset> Presets(ScreenerKind kind);

// The stored label of the preset whose path equals path byte for byte, searching the
// Stocks presets first; empty when there is none.
std::string_view PresetLabel(std::string_view path);

// A menu label as it is shown: each "&&" becomes "&".
std::string ShownMenuLabel(std::string_view label);

}  // namespace velquist
