#include "app/options.h"

#include <cmath>

namespace velquist {
namespace {

std::string_view ColorModeName(ColorMode mode) {
  switch (mode) {
    case ColorMode::Light:
      return "light";
    case ColorMode::Dark:
      return "dark";
    default:
      return "system";
  }
}

void LoadActiveTab(OptionStore& store, AppOptions& options) {
  std::string text;
  if (!store.ReadString("ActiveTab", text)) return;
  if (text == "stocks") options.ActiveTab = ScreenerKind::Stocks;
  if (text == "etfs") options.ActiveTab = ScreenerKind::Etfs;
}

void LoadLastScreen(OptionStore& store, std::string_view name, ScreenerKind kind,
                    std::string& field) {
  std::string text, accepted;
  if (store.ReadString(name, text) && AcceptLastScreen(text, kind, accepted)) field = accepted;
}

void LoadFlag(OptionStore& store, std::string_view name, bool& field) {
  std::uint32_t value = 0;
  if (store.ReadDword(name, value)) field = value != 0;
}

void LoadZoom(OptionStore& store, AppOptions& options) {
  std::uint32_t percent = 0;
  if (!store.ReadDword("Zoom", percent)) return;
  double zoom = percent / 100.0;
  if (zoom >= MinZoom && zoom <= MaxZoom) options.Zoom = zoom;
}

void LoadColorMode(OptionStore& store, AppOptions& options) {
  std::string text;
  if (!store.ReadString("ColorMode", text)) return;
  if (text == "system") options.ColorMode = ColorMode::System;
  if (text == "light") options.ColorMode = ColorMode::Light;
  if (text == "dark") options.ColorMode = ColorMode::Dark;
}

void LoadPlacement(OptionStore& store, AppOptions& options) {
  // Read in this order; the first missing value ends the reading.
  std::uint32_t left = 0, top = 0, right = 0, bottom = 0;
  if (!store.ReadDword("WindowLeft", left) || !store.ReadDword("WindowTop", top) ||
      !store.ReadDword("WindowRight", right) || !store.ReadDword("WindowBottom", bottom)) {
    return;
  }
  SavedPlacement placement;
  placement.Left = static_cast<std::int32_t>(left);
  placement.Top = static_cast<std::int32_t>(top);
  placement.Right = static_cast<std::int32_t>(right);
  placement.Bottom = static_cast<std::int32_t>(bottom);
  if (!IsPlacementSizeValid(placement.Left, placement.Top, placement.Right, placement.Bottom)) {
    return;
  }
  std::uint32_t maximized = 0;
  placement.Maximized = store.ReadDword("WindowMaximized", maximized) && maximized != 0;
  placement.Valid = true;
  options.Placement = placement;
}

}  // namespace

std::uint32_t ZoomPercent(double zoom) {
  // The record keeps the zoom in range; a value that slipped out is stored at the edge.
  if (!(zoom >= MinZoom)) zoom = MinZoom;
  if (zoom > MaxZoom) zoom = MaxZoom;
  return static_cast<std::uint32_t>(zoom * 100 + 0.5);
}

bool LoadOptions(OptionStore& store, AppOptions& options) {
  if (!store.OpenForReading()) return false;
  LoadActiveTab(store, options);
  LoadLastScreen(store, "LastStocks", ScreenerKind::Stocks, options.LastStocks);
  LoadLastScreen(store, "LastEtfs", ScreenerKind::Etfs, options.LastEtfs);
  LoadFlag(store, "RestoreLast", options.RestoreLast);
  LoadFlag(store, "ShowSplash", options.ShowSplash);
  LoadZoom(store, options);
  LoadColorMode(store, options);
  LoadPlacement(store, options);
  return true;
}

bool SaveOptions(OptionStore& store, const AppOptions& options) {
  if (!store.OpenForWriting()) return false;
  // Every write is attempted, also after one has failed.
  bool ok = store.WriteString("ActiveTab", ScreenerKindName(options.ActiveTab));
  ok = store.WriteString("LastStocks", options.LastStocks) && ok;
  ok = store.WriteString("LastEtfs", options.LastEtfs) && ok;
  ok = store.WriteDword("RestoreLast", options.RestoreLast ? 1 : 0) && ok;
  ok = store.WriteDword("ShowSplash", options.ShowSplash ? 1 : 0) && ok;
  ok = store.WriteDword("Zoom", ZoomPercent(options.Zoom)) && ok;
  ok = store.WriteString("ColorMode", ColorModeName(options.ColorMode)) && ok;
  const SavedPlacement& placement = options.Placement;
  if (placement.Valid) {
    ok = store.WriteDword("WindowLeft", static_cast<std::uint32_t>(placement.Left)) && ok;
    ok = store.WriteDword("WindowTop", static_cast<std::uint32_t>(placement.Top)) && ok;
    ok = store.WriteDword("WindowRight", static_cast<std::uint32_t>(placement.Right)) && ok;
    ok = store.WriteDword("WindowBottom", static_cast<std::uint32_t>(placement.Bottom)) && ok;
    ok = store.WriteDword("WindowMaximized", placement.Maximized ? 1 : 0) && ok;
  }
  return store.FinishWriting() && ok;
}

void ApplyScreensFileOptions(const ScreensFileOptions& file, AppOptions& options) {
  if (file.activeTab) options.ActiveTab = *file.activeTab;
  if (file.lastStocks) options.LastStocks = *file.lastStocks;
  if (file.lastEtfs) options.LastEtfs = *file.lastEtfs;
  options.RestoreLast = file.restoreLast;
  options.ShowSplash = file.showSplash;
  options.Zoom = file.zoom;
  if (file.colorMode) options.ColorMode = static_cast<ColorMode>(*file.colorMode);
  if (file.window) {
    options.Placement = SavedPlacement{true,
                                       file.window->left,
                                       file.window->top,
                                       file.window->right,
                                       file.window->bottom,
                                       file.window->maximized};
  }
}

}  // namespace velquist
