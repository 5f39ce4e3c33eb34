// What the start-up decides from the command line. The command line is not otherwise
// read: any word of the user's on it only keeps the splash away.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velquist {

// "--webEngineArgs" in any letter case, as the browser engine takes it: every later word
// on the command line is one of the engine's switches.
bool IsEngineSwitchesMarker(std::string_view word);

// The words of the user's in a command line (the program's name first): those after the
// name and before the engine switches' marker.
std::vector<std::string> UserWords(const std::vector<std::string>& commandLine);

// The splash shows only when its option is on and the user gave no word at all (userWords
// as UserWords gives them).
bool ShowSplashAtStart(bool showSplashOption, const std::vector<std::string>& userWords);

}  // namespace velquist
