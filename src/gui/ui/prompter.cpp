#include "gui/ui/prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/ui/dialog_theme.h"
#include "gui/ui/save_file_dialog.h"

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
    ApplyStockDialogTheme(box);
    box.exec();
  }
  bool Ask(QWidget* parent, PromptIcon icon, const QString& text) override {
    QMessageBox box(BoxIcon(icon), QStringLiteral("Velquist"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    ApplyStockDialogTheme(box);
    return box.exec() == QMessageBox::Yes;
  }
  bool AskFile(QWidget* parent, const FileRequest& request, FileAnswer& answer) override {
    if (request.save) {
      CSaveFileDialog dialog(parent, request);
      ApplyStockDialogTheme(dialog);
      dialog.exec();
      return dialog.Answer(answer);
    }
    QFileDialog dialog(parent, request.title.isEmpty() ? QStringLiteral("Open") : request.title,
                       request.folder);
    // Qt's own dialog, as for Save As, so that it is drawn in the program's colour mode.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (request.filter >= 0 && request.filter < request.filters.size()) {
      dialog.selectNameFilter(request.filters[request.filter]);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    ApplyStockDialogTheme(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filter = static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()));
    return true;
  }
  void Beep() override { QApplication::beep(); }
};

MessageBoxPrompter g_messageBoxes;
IPrompter* g_prompter = &g_messageBoxes;

}  // namespace

IPrompter& Prompter() { return *g_prompter; }

void SetPrompter(IPrompter* prompter) { g_prompter = prompter ? prompter : &g_messageBoxes; }

}  // namespace velquist
