// The Export command once the page's rows have arrived: the Save As dialog with the three
// file types, the file built in memory and written atomically, the status text and the
// offer to open the file.
#pragma once

#include <QString>
#include <functional>

#include "data/screens.h"
#include "export/export_target.h"
#include "results/result_set.h"

class QWidget;

namespace velquist {

struct ExportOwner {
  QWidget* window = nullptr;  // owns the dialog and the messages
  std::function<const ScreenStore&()> screens;
  std::function<void(const QString&)> showStatus;
};

class CExportCommand {
 public:
  explicit CExportCommand(ExportOwner owner) : m_owner(std::move(owner)) {}

  void Export(const ResultSet& set);
  // The format of the last export, preselected in the next dialog.
  ExportFormat RememberedFormat() const { return m_format; }

 private:
  ExportOwner m_owner;
  ExportFormat m_format = ExportFormat::Xlsx;
};

}  // namespace velquist
