// The Save Screen dialog: a name box of at most 80 characters under "&Name:", a hint that
// names the screener, and Save and Cancel. Save refuses a name that normalises to nothing.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velquist {

class CSaveScreenDlg : public QDialog {
  Q_OBJECT
 public:
  // name: the text the box starts with; noun: "stock" or "ETF".
  CSaveScreenDlg(QWidget* parent, const QString& name, const QString& noun, bool dark);

  // After Save: the text as the user left it (the command normalises it).
  QString Name() const { return m_name; }

  QLineEdit* NameEdit() const { return m_edit; }
  QLabel* Hint() const { return m_hint; }
  QPushButton* SaveButton() const { return m_save; }
  QPushButton* CancelButton() const { return m_cancel; }

  void accept() override;

 private:
  QString m_name;
  QLineEdit* m_edit = nullptr;
  QLabel* m_hint = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace velquist
