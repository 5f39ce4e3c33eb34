#include "gui/print/margin_font.h"

#include <fontconfig/fontconfig.h>

#include <memory>

#include "gui/text/qt_text.h"
#include "print/page_margins.h"

namespace velquist {
namespace {

struct PatternFree {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

bool IsGenericFamily(const QString& family) {
  static const QStringList generic = {QStringLiteral("serif"),     QStringLiteral("sans-serif"),
                                      QStringLiteral("monospace"), QStringLiteral("cursive"),
                                      QStringLiteral("fantasy"),   QStringLiteral("system-ui")};
  return generic.contains(family, Qt::CaseInsensitive);
}

// The family fontconfig matches for `family`, when the match is the family itself or one
// of its strong aliases; the weak defaults it appends to every request do not count.
QString MatchedFamily(const QString& family, bool generic) {
  const QByteArray name = family.toUtf8();
  Pattern pattern(FcPatternCreate());
  if (!pattern) return {};
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
  if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return {};
  FcDefaultSubstitute(pattern.get());
  QStringList strong;
  FcValue value;
  FcValueBinding binding;
  for (int i = 0;
       FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
       ++i) {
    if (value.type == FcTypeString && binding == FcValueBindingStrong) {
      strong << QString::fromUtf8(reinterpret_cast<const char*>(value.u.s));
    }
  }
  FcResult result = FcResultNoMatch;
  const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* found = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &found) != FcResultMatch) return {};
  const QString matched = QString::fromUtf8(reinterpret_cast<const char*>(found));
  return generic || strong.contains(matched, Qt::CaseInsensitive) ? matched : QString();
}

}  // namespace

QString EngineFontFamily(const QStringList& families) {
  for (const QString& family : families) {
    const QString matched = MatchedFamily(family, IsGenericFamily(family));
    if (!matched.isEmpty()) return matched;
  }
  return {};
}

QFont MarginTextFont() {
  QStringList families;
  for (std::string_view family : MarginTextFamilies) families << ToQString(family);
  QFont font;
  const QString family = EngineFontFamily(families);
  if (!family.isEmpty()) font.setFamily(family);
  font.setPointSizeF(MarginTextPointSize);
  return font;
}

}  // namespace velquist
