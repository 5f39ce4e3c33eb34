// The list of the Open Saved Screen dialog: three columns (Name, Screener, Filters), one
// selected row, names edited in place (F2) within 80 characters, the Delete key reported,
// and a centred text in place of rows while it is empty.
#pragma once

#include <QString>
#include <QTreeWidget>

namespace velquist {

class CScreenListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CScreenListView(QWidget* parent);

  void SetEmptyText(const QString& text) { m_emptyText = text; }
  QString EmptyText() const { return m_emptyText; }
  // Column widths given at 96 DPI, scaled to dpi.
  void SetColumnWidths(int dpi);
  // True while a name is being edited.
  bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

 signals:
  // Editing a name ended with text (not cancelled); the item still shows its old name.
  void renameCommitted(QTreeWidgetItem* item, const QString& text);
  void deletePressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_emptyText;
};

}  // namespace velquist
