// The texts the saved-screens commands show: questions, notices and status texts, with
// the name or count put in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velquist {

// The Save Screen hint, naming the screener by its noun ("stock" or "ETF").
std::string SaveScreenHintText(std::string_view noun);
inline constexpr std::string_view EmptyScreenNameText = "Please enter a name for the screen.";
std::string ReplaceScreenQuestionText(std::string_view name);
std::string SavedScreenStatusText(std::string_view name);
inline constexpr std::string_view UnstorableScreenText =
    "This screen cannot be saved: its address is too long, or holds characters that a "
    "saved screen cannot keep.";
// Why a new screen was not saved into a full store, and what to do about it.
std::string StoreFullText(std::string_view name);

inline constexpr std::string_view RenameTakenText =
    "Another screen for this screener already has that name.";
std::string DeleteScreenQuestionText(std::string_view name);
inline constexpr std::string_view NoSavedScreensText =
    "No saved screens yet.\nSet up the filters, then click Save (Ctrl+S).";

// The import's result: how many screens were added and, when the store filled up, how
// many of the file's screens were left out.
std::string ImportedScreensText(std::size_t added, std::size_t leftOut);
// An import file that could not be read or holds no screens list; error may be empty.
std::string NotAScreensFileText(std::string_view error);
// Export Screens could not write its file.
inline constexpr std::string_view ScreensExportWriteFailedText = "The file could not be written.";

}  // namespace velquist
