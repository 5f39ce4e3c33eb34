#include "gui/ui/save_file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/files.h"
#include "gui/text/qt_text.h"

namespace velquist {
namespace {

// The folder of the last file chosen in this run; the documents folder at first.
QString& LastFolder() {
  static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return folder;
}

}  // namespace

CSaveFileDialog::CSaveFileDialog(QWidget* parent, const FileRequest& request)
    : QFileDialog(parent, request.title.isEmpty() ? QStringLiteral("Save As") : request.title),
      m_request(request) {
  // The checks below run in accept(), which a desktop's own dialog would bypass.
  setOption(QFileDialog::DontUseNativeDialog);
  // Asked in accept() for the completed name, which is the one written.
  setOption(QFileDialog::DontConfirmOverwrite);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setNameFilters(request.filters);
  if (request.filter >= 0 && request.filter < request.filters.size()) {
    selectNameFilter(request.filters[request.filter]);
  }
  setDefaultSuffix(request.defaultSuffix);
  const QString folder = request.folder.isEmpty() ? LastFolder() : request.folder;
  if (QFileInfo(folder).isDir()) setDirectory(folder);
  if (!request.fileName.isEmpty()) selectFile(request.fileName);
}

int CSaveFileDialog::SelectedFilter() const {
  return static_cast<int>(m_request.filters.indexOf(selectedNameFilter()));
}

QString CSaveFileDialog::FinalPath(const QString& path) const {
  return m_request.finalPath ? m_request.finalPath(path, SelectedFilter()) : path;
}

void CSaveFileDialog::accept() {
  const QStringList files = selectedFiles();
  if (files.isEmpty()) return;
  const QFileInfo typed(files.first());
  // A typed folder name opens the folder, as in any file dialog.
  if (typed.isDir()) {
    QFileDialog::accept();
    return;
  }
  const QString path = FinalPath(typed.absoluteFilePath());
  const QFileInfo target(path);
  // The messages go through the prompter like every other one, over this dialog.
  if (!target.dir().exists()) {
    Prompter().Show(this, PromptIcon::Exclamation,
                    QStringLiteral("The folder \u201C%1\u201D does not exist.\nCheck the path and "
                                   "try again.")
                        .arg(QDir::toNativeSeparators(target.absolutePath())));
    return;
  }
  if (!CanReplaceFile(ToUtf8(path))) {
    Prompter().Show(this, PromptIcon::Exclamation,
                    QStringLiteral("\u201C%1\u201D cannot be written: the file or its folder is "
                                   "read-only.\nChoose another name or folder.")
                        .arg(target.fileName()));
    return;
  }
  if (target.exists() &&
      !Prompter().Ask(this, PromptIcon::Warning,
                      QStringLiteral("\u201C%1\u201D already exists.\nDo you want to replace it?")
                          .arg(target.fileName()))) {
    return;
  }
  LastFolder() = target.absolutePath();
  QFileDialog::accept();
}

bool CSaveFileDialog::Answer(FileAnswer& answer) const {
  if (result() != QDialog::Accepted || selectedFiles().isEmpty()) return false;
  answer.path = QFileInfo(selectedFiles().constFirst()).absoluteFilePath();
  answer.filter = SelectedFilter();
  return true;
}

}  // namespace velquist
