#include "gui/export/export_command.h"

#include <QApplication>
#include <QStringList>
#include <chrono>

#include "app/files.h"
#include "export/export_file.h"
#include "gui/text/qt_text.h"
#include "gui/ui/prompter.h"
#include "gui/web/external_opener.h"
#include "results/format.h"
#include "results/results_reader.h"

namespace velquist {
namespace {

// The wait cursor for as long as the file is built and written.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void CExportCommand::Export(const ResultSet& set) {
  const std::string count = ResultsCountText(set);
  FileRequest request;
  request.save = true;
  request.title = ToQString(ExportDialogTitle(count));
  for (const ExportFileType& type : ExportFileTypes()) request.filters << ToQString(type.entry);
  request.filter = static_cast<int>(m_format);
  request.fileName = ToQString(SanitizeFileName(ResultsTitle(set, m_owner.screens())));
  // No default suffix: the extension follows the chosen type, as decided below.
  request.finalPath = [](const QString& path, int type) {
    return ToQString(ChooseExportTarget(ToUtf8(path), type).path);
  };
  FileAnswer answer;
  if (!Prompter().AskFile(m_owner.window, request, answer)) return;

  const ExportTarget target = ChooseExportTarget(ToUtf8(answer.path), answer.filter);
  m_format = target.format;
  bool written = false;
  {
    WaitCursor wait;
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    std::string bytes;
    // A file that could not be built is not written either, and says so the same way.
    written = BuildExportFile(set, target.format, UtcTimestampText(now), bytes) &&
              WriteFileAtomic(target.path, bytes);
  }
  if (!written) {
    Prompter().Show(m_owner.window, PromptIcon::Exclamation, ToQString(ExportWriteFailedText));
    return;
  }
  const std::string_view name = PathFileName(target.path);
  m_owner.showStatus(ToQString(ExportedStatusText(count, name)));
  if (Prompter().Ask(m_owner.window, PromptIcon::Information,
                     ToQString(ExportedOpenQuestion(count, name)))) {
    OpenWithDefaultProgram(ToQString(target.path));
  }
}

}  // namespace velquist
