#include "gui/app/program_command_line.h"

#include <algorithm>
#include <utility>

#include "app/start_decisions.h"

namespace velquist {
namespace {

// Room for the switches added during start-up (the marker and the pages' colour scheme),
// with some to spare.
constexpr int kSpareWords = 8;

}  // namespace

ProgramCommandLine::ProgramCommandLine(int argc, char** argv)
    : ProgramCommandLine(std::vector<std::string>(argv, argv + argc)) {}

ProgramCommandLine::ProgramCommandLine(std::vector<std::string> words) : m_given(std::move(words)) {
  for (const std::string& word : m_given) {
    m_pointers.push_back(m_words.emplace_back(word).data());
  }
  m_count = static_cast<int>(m_pointers.size());
  m_pointers.resize(m_pointers.size() + kSpareWords + 1, nullptr);
}

QStringList ProgramCommandLine::UserWords() const {
  QStringList words;
  for (const std::string& word : velquist::UserWords(m_given)) {
    words << QString::fromLocal8Bit(word.data(), static_cast<qsizetype>(word.size()));
  }
  return words;
}

bool ProgramCommandLine::AddEngineSwitches(const QStringList& switches) {
  if (switches.isEmpty()) return true;
  // The application object may have taken its own words out, so the live count tells
  // where the vector ends now.
  const bool hasMarker =
      std::any_of(m_pointers.begin(), m_pointers.begin() + m_count,
                  [](const char* word) { return word && IsEngineSwitchesMarker(word); });
  const int needed = static_cast<int>(switches.size()) + (hasMarker ? 0 : 1);
  if (m_count + needed + 1 > static_cast<int>(m_pointers.size())) return false;
  auto append = [this](const std::string& word) {
    m_pointers[static_cast<std::size_t>(m_count++)] = m_words.emplace_back(word).data();
  };
  if (!hasMarker) append("--webEngineArgs");
  for (const QString& word : switches) append(word.toLocal8Bit().toStdString());
  m_pointers[static_cast<std::size_t>(m_count)] = nullptr;
  return true;
}

}  // namespace velquist
