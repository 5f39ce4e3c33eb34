#include "app/start_decisions.h"

#include <algorithm>
#include <cctype>

namespace velquist {

bool IsEngineSwitchesMarker(std::string_view word) {
  constexpr std::string_view marker = "--webengineargs";
  return word.size() == marker.size() &&
         std::equal(word.begin(), word.end(), marker.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
         });
}

std::vector<std::string> UserWords(const std::vector<std::string>& commandLine) {
  if (commandLine.empty()) return {};
  const auto end =
      std::find_if(commandLine.begin() + 1, commandLine.end(),
                   [](const std::string& word) { return IsEngineSwitchesMarker(word); });
  return std::vector<std::string>(commandLine.begin() + 1, end);
}

bool ShowSplashAtStart(bool showSplashOption, const std::vector<std::string>& userWords) {
  return showSplashOption && userWords.empty();
}

}  // namespace velquist
