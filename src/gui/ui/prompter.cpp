#include "gui/ui/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velquist {
namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Error:
      return QMessageBox::Critical;
    case PromptIcon::Exclamation:
    case PromptIcon::Warning:
      return QMessageBox::Warning;
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

class MessageBoxPrompter : public IPrompter {
 public:
  void Show(QWidget* parent, PromptIcon icon, const QString& text) override {
    QMessageBox box(BoxIcon(icon), QStringLiteral("Velquist"), text, QMessageBox::Ok, parent);
    box.exec();
  }
  bool Ask(QWidget* parent, PromptIcon icon, const QString& text) override {
    QMessageBox box(BoxIcon(icon), QStringLiteral("Velquist"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
  }
  bool AskFile(QWidget* parent, const FileRequest& request, FileAnswer& answer) override {
    QFileDialog dialog(parent, request.save ? QStringLiteral("Save As") : QStringLiteral("Open"),
                       request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (request.filter >= 0 && request.filter < request.filters.size()) {
      dialog.selectNameFilter(request.filters[request.filter]);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filter = static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()));
    return true;
  }
};

MessageBoxPrompter g_messageBoxes;
IPrompter* g_prompter = &g_messageBoxes;

}  // namespace

IPrompter& Prompter() { return *g_prompter; }

void SetPrompter(IPrompter* prompter) { g_prompter = prompter ? prompter : &g_messageBoxes; }

}  // namespace velquist
