#include "gui/ui/screen_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "data/screens.h"
#include "ui/chrome_metrics.h"

namespace velquist {
namespace {

// Edits names in a box of at most 80 characters and hands the text to the list instead of
// writing it into the item: the store decides whether the name is taken.
class NameDelegate : public QStyledItemDelegate {
 public:
  explicit NameDelegate(CScreenListView* list) : QStyledItemDelegate(list), m_list(list) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      edit->setMaxLength(static_cast<int>(MaxScreenNameCharacters));
    }
    // The main window's style sheet reaches the editor too and would draw it in the
    // default colours: a style sheet of its own gives it the list's.
    if (editor) {
      const QPalette& p = m_list->palette();
      editor->setStyleSheet(
          QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3; "
                         "selection-background-color: %4; selection-color: %5; }")
              .arg(p.color(QPalette::Base).name(), p.color(QPalette::Text).name(),
                   p.color(QPalette::Highlight).name(), p.color(QPalette::Highlight).name(),
                   p.color(QPalette::HighlightedText).name()));
    }
    return editor;
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    QTreeWidgetItem* item = m_list->topLevelItem(index.row());
    if (edit && item) emit m_list->renameCommitted(item, edit->text());
  }

 private:
  CScreenListView* m_list;
};

constexpr int kColumnWidths96[] = {190, 70, 300};

}  // namespace

CScreenListView::CScreenListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(3);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Screener"), QStringLiteral("Filters")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  setSortingEnabled(false);
  setAllColumnsShowFocus(true);
  setTextElideMode(Qt::ElideRight);
  // The order is always the dialog's: a click on a heading does nothing.
  header()->setSectionsClickable(false);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  setItemDelegateForColumn(0, new NameDelegate(this));
}

void CScreenListView::SetColumnWidths(int dpi) {
  for (int column = 0; column < 3; ++column) {
    setColumnWidth(column, ScaleForDpi(kColumnWidths96[column], dpi));
  }
}

void CScreenListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !IsEditing()) {
    emit deletePressed();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void CScreenListView::paintEvent(QPaintEvent* event) {
  QTreeWidget::paintEvent(event);
  if (topLevelItemCount() > 0 || m_emptyText.isEmpty()) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const int margin = fontMetrics().height();
  painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_emptyText);
}

}  // namespace velquist
