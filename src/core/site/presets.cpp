#include "site/presets.h"

#include <array>

namespace velquist {
namespace {

constexpr std::array<Preset, PresetCount> StockPresets{{
    {"Dividend stocks", "/screener/dividend-stocks.html"},
    {"High dividend yield", "/screener/high-dividend-yield-stocks.html"},
    {"Dividend growth", "/screener/dividend-growth-stocks.html"},
    {"Value stocks", "/screener/value-stocks.html"},
    {"Growth stocks", "/screener/growth-stocks.html"},
    {"Penny stocks", "/screener/penny-stocks.html"},
    {"52-week highs", "/screener/52-week-high-stocks.html"},
    {"52-week lows", "/screener/52-week-low-stocks.html"},
    {"Oversold (RSI)", "/screener/oversold-stocks.html"},
    {"Overbought (RSI)", "/screener/overbought-stocks.html"},
    {"Most shorted", "/screener/most-shorted-stocks.html"},
    {"Analyst Strong Buy", "/screener/strong-buy-stocks.html"},
    {"Highest upside", "/screener/highest-upside-stocks.html"},
    {"Golden cross", "/screener/golden-cross-stocks.html"},
}};

constexpr std::array<Preset, PresetCount> EtfPresets{{
    {"Largest ETFs", "/screener/etf-largest.html"},
    {"Low-cost ETFs", "/screener/etf-low-cost.html"},
    {"High-dividend ETFs", "/screener/etf-high-dividend.html"},
    {"Monthly dividend ETFs", "/screener/etf-monthly-dividend.html"},
    {"Dividend growth ETFs", "/screener/etf-dividend-growth.html"},
    {"Bond ETFs", "/screener/etf-bond.html"},
    {"Treasury ETFs", "/screener/etf-treasury.html"},
    {"High-yield bond ETFs", "/screener/etf-high-yield-bond.html"},
    {"Leveraged ETFs", "/screener/etf-leveraged.html"},
    {"Inverse ETFs", "/screener/etf-inverse.html"},
    {"Covered-call ETFs", "/screener/etf-covered-call.html"},
    {"Bitcoin && crypto ETFs", "/screener/etf-crypto.html"},
    {"New ETFs", "/screener/etf-new.html"},
    {"Best performers (1Y)", "/screener/etf-best-performing.html"},
}};

}  // namespace

std::span<const Preset> Presets(ScreenerKind kind) {
  if (kind == ScreenerKind::Etfs) return EtfPresets;
  return StockPresets;
}

std::string_view PresetLabel(std::string_view path) {
  for (const auto kind : {ScreenerKind::Stocks, ScreenerKind::Etfs}) {
    for (const Preset& preset : Presets(kind)) {
      if (preset.path == path) return preset.label;
    }
  }
  return {};
}

std::string ShownMenuLabel(std::string_view label) {
  std::string out;
  out.reserve(label.size());
  for (std::size_t i = 0; i < label.size(); ++i) {
    out.push_back(label[i]);
    if (label[i] == '&' && i + 1 < label.size() && label[i + 1] == '&') ++i;
  }
  return out;
}

}  // namespace velquist
