// The program's options: the record the application holds for the whole run, and how it
// is read from and written to the options key, value by value, with each value's rules.
#pragma once

#include <cstdint>
#include <string>

#include "app/option_store.h"
#include "data/screens.h"
#include "site/screener_kind.h"

namespace velquist {

enum class ColorMode { System = 0, Light = 1, Dark = 2 };

inline constexpr double MinZoom = 0.25;
inline constexpr double MaxZoom = 5.0;

// The main window's last normal (un-maximised) rectangle in screen coordinates. When
// Valid, the size obeys IsPlacementSizeValid.
struct SavedPlacement {
  bool Valid = false;
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Maximized = false;
};

struct AppOptions {
  ScreenerKind ActiveTab = ScreenerKind::Stocks;
  // A tab's last screen: screener path, optionally "#" and the fragment.
  std::string LastStocks = "/screener.html";
  std::string LastEtfs = "/etf-screener.html";
  bool RestoreLast = true;
  bool ShowSplash = true;
  double Zoom = 1.0;  // always within MinZoom to MaxZoom
  velquist::ColorMode ColorMode = velquist::ColorMode::System;
  SavedPlacement Placement;
};

// Overlays the options with the store's values that are present and valid; every other
// field keeps its value. False when the key cannot be opened (then nothing changes).
bool LoadOptions(OptionStore& store, AppOptions& options);
// Writes every option (the window values only while the placement is valid). True only
// if the key was opened and every write, and finishing, succeeded.
bool SaveOptions(OptionStore& store, const AppOptions& options);

// Sets the options that a screens file carried. The record is not reset here.
void ApplyScreensFileOptions(const ScreensFileOptions& file, AppOptions& options);

// The zoom as stored: percent, rounded half up (1.1 gives 110, 0.67 gives 67).
std::uint32_t ZoomPercent(double zoom);

}  // namespace velquist
