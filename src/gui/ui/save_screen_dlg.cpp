#include "gui/ui/save_screen_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/screen_texts.h"
#include "data/screens.h"
#include "gui/text/qt_text.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/dialog_units.h"
#include "gui/ui/prompter.h"

namespace velquist {

CSaveScreenDlg::CSaveScreenDlg(QWidget* parent, const QString& name, const QString& noun, bool dark)
    : QDialog(parent), m_name(name) {
  setWindowTitle(QStringLiteral("Save Screen"));
  setFont(DialogFont(parent ? parent : this));
  const DialogUnits du(*this);
  setFixedSize(du.Size(262, 98));

  auto* label = new QLabel(QStringLiteral("&Name:"), this);
  label->setGeometry(du.Rect(10, 10, 60, 9));
  m_edit = new QLineEdit(this);
  m_edit->setGeometry(du.Rect(10, 21, 242, 14));
  label->setBuddy(m_edit);
  m_hint = new QLabel(ToQString(SaveScreenHintText(ToUtf8(noun))), this);
  m_hint->setGeometry(du.Rect(10, 42, 242, 26));
  m_hint->setWordWrap(true);
  m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_save = new QPushButton(QStringLiteral("Save"), this);
  m_save->setGeometry(du.Rect(144, 76, 52, 15));
  m_save->setDefault(true);
  m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  m_cancel->setGeometry(du.Rect(200, 76, 52, 15));
  connect(m_save, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

  m_edit->setMaxLength(static_cast<int>(MaxScreenNameCharacters));
  m_edit->setText(name);
  m_edit->selectAll();
  m_edit->setFocus(Qt::OtherFocusReason);
  ApplyDialogTheme(*this, dark);
}

void CSaveScreenDlg::accept() {
  m_name = m_edit->text();
  if (NormalizeScreenName(ToUtf8(m_name)).empty()) {
    Prompter().Show(this, PromptIcon::Information, ToQString(EmptyScreenNameText));
    m_edit->setFocus(Qt::OtherFocusReason);
    return;
  }
  QDialog::accept();
}

}  // namespace velquist
