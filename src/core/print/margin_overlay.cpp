#include "print/margin_overlay.h"

#include <charconv>

#include "print/html_escape.h"

namespace velquist {
namespace {

std::string Millimetres(double value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr) + "mm";
}

// Each page is a box a little shorter than the paper, so that rounding never pushes a
// page's end onto a further sheet; the bands are the report's top and bottom margins,
// with the texts centred in them between the left and right margins.
std::string StyleSheet(OverlayPageSize size) {
  const std::string band = Millimetres(PageMarginTopBottomMm);
  const std::string side = Millimetres(PageMarginLeftRightMm);
  std::string css =
      "@page{margin:0;size:" + Millimetres(size.widthMm) + " " + Millimetres(size.heightMm) + "}";
  css += "html,body{margin:0;padding:0;background:transparent}";
  css += ".p{position:relative;overflow:hidden;break-after:page;height:" +
         Millimetres(size.heightMm - 0.5) + "}";
  css += ".p:last-child{break-after:auto}";
  css += ".t,.b{position:absolute;left:" + side + ";right:" + side + ";height:" + band +
         ";display:flex;align-items:center;white-space:nowrap;font:";
  css += MarginTextFont;
  css += ";color:";
  css += MarginTextColor;
  css += "}.t{top:0}.b{bottom:0}";
  css += ".l{flex:0 1 auto;min-width:0;overflow:hidden;text-overflow:ellipsis}";
  css += ".r{flex:0 0 auto;margin-left:auto;padding-left:12pt}";
  return css;
}

void AppendBand(std::string& out, std::string_view band, std::string_view left,
                std::string_view right) {
  out += "<div class=\"";
  out += band;
  out += "\"><span class=\"l\">";
  AppendHtmlEscaped(out, left);
  out += "</span><span class=\"r\">";
  AppendHtmlEscaped(out, right);
  out += "</span></div>";
}

}  // namespace

std::string BuildMarginOverlay(const PageMarginTexts& texts, int pages, OverlayPageSize size) {
  if (pages < 1) pages = 1;
  std::string out;
  out.reserve(1024 +
              static_cast<std::size_t>(pages) *
                  (200 + texts.topLeft.size() + texts.topRight.size() + texts.bottomLeft.size()));
  out +=
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
      "style-src 'unsafe-inline'\"><meta name=\"color-scheme\" content=\"light\"><style>";
  out += StyleSheet(size);
  out += "</style></head><body>";
  for (int page = 1; page <= pages; ++page) {
    out += "<div class=\"p\">";
    if (PageHasTopTexts(page)) AppendBand(out, "t", texts.topLeft, texts.topRight);
    AppendBand(out, "b", texts.bottomLeft, PageNumberText(page, pages));
    out += "</div>\n";
  }
  out += "</body></html>\n";
  return out;
}

}  // namespace velquist
