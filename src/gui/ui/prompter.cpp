#include "gui/ui/prompter.h"

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
};

MessageBoxPrompter g_messageBoxes;
IPrompter* g_prompter = &g_messageBoxes;

}  // namespace

IPrompter& Prompter() { return *g_prompter; }

void SetPrompter(IPrompter* prompter) { g_prompter = prompter ? prompter : &g_messageBoxes; }

}  // namespace velquist
