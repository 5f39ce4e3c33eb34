// The program's Save As dialog: the file types with one preselected, a proposed name, and
// the checks made on the path the program will really write (the chosen name completed as
// the request says): it asks before replacing that file and never returns a path that
// cannot be written.
#pragma once

#include <QFileDialog>

#include "gui/ui/prompter.h"

namespace velquist {

class CSaveFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  CSaveFileDialog(QWidget* parent, const FileRequest& request);

  // The answer once the dialog has ended; false when it was cancelled.
  bool Answer(FileAnswer& answer) const;

  void accept() override;

 private:
  QString FinalPath(const QString& path) const;
  int SelectedFilter() const;

  FileRequest m_request;
};

}  // namespace velquist
