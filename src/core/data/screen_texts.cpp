#include "data/screen_texts.h"

#include "data/screens.h"

namespace velquist {
namespace {

// Curly quotes around a name, as every text that shows one uses them.
std::string Quoted(std::string_view name) {
  return "\xE2\x80\x9C" + std::string(name) + "\xE2\x80\x9D";
}

std::string Count(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + std::string(n == 1 ? one : many);
}

}  // namespace

std::string SaveScreenHintText(std::string_view noun) {
  return "Saves the filters, columns, sort order and page of the " + std::string(noun) +
         " screener. Saved screens are listed under Open (Ctrl+O).";
}

std::string ReplaceScreenQuestionText(std::string_view name) {
  return "A screen named " + Quoted(name) + " already exists. Replace it?";
}

std::string SavedScreenStatusText(std::string_view name) { return "Saved " + Quoted(name); }

std::string StoreFullText(std::string_view name) {
  return Quoted(name) + " was not saved: Velquist keeps at most " +
         std::to_string(MaxSavedScreens) +
         " saved screens, and you have that many.\n\nDelete screens you no longer need under "
         "Open (Ctrl+O), or save under the name of an existing screen to replace it.";
}

std::string DeleteScreenQuestionText(std::string_view name) {
  return "Delete the saved screen " + Quoted(name) + "?";
}

std::string ImportedScreensText(std::size_t added, std::size_t leftOut) {
  std::string text = "Imported " + Count(added, " screen.", " screens.");
  if (leftOut > 0) {
    text += "\n\n" + Count(leftOut, " screen was", " screens were") +
            " left out: Velquist keeps at most " + std::to_string(MaxSavedScreens) +
            " saved screens. Delete screens you no longer need under Open (Ctrl+O) to make "
            "room for more.";
  }
  return text;
}

std::string NotAScreensFileText(std::string_view error) {
  return "This file does not contain saved screens.\n\n" + std::string(error);
}

}  // namespace velquist
