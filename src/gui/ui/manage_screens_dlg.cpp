#include "gui/ui/manage_screens_dlg.h"

#include <QPushButton>

#include "data/screen_list.h"
#include "data/screen_texts.h"
#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/dialog_units.h"
#include "gui/ui/prompter.h"
#include "gui/ui/screen_list_view.h"

namespace velquist {
namespace {

constexpr int kStoreIndexRole = Qt::UserRole;

}  // namespace

CManageScreensDlg::CManageScreensDlg(QWidget* parent, ScreenStore& store, ScreenerKind activeKind,
                                     ManageScreensActions actions, bool dark)
    : QDialog(parent), m_store(store), m_kind(activeKind), m_actions(std::move(actions)) {
  setWindowTitle(QStringLiteral("Open Saved Screen"));
  setFont(DialogFont(parent ? parent : this));
  const DialogUnits du(*this);
  setFixedSize(du.Size(392, 210));

  m_list = new CScreenListView(this);
  m_list->setGeometry(du.Rect(10, 10, 302, 190));
  m_list->SetColumnWidths(WidgetDpi(parent ? parent : this));
  m_list->SetEmptyText(ToQString(NoSavedScreensText));
  const auto button = [&](const QString& text, int y) {
    auto* b = new QPushButton(text, this);
    b->setGeometry(du.Rect(320, y, 62, 15));
    return b;
  };
  m_open = button(QStringLiteral("&Open"), 10);
  m_open->setDefault(true);
  m_rename = button(QStringLiteral("&Rename"), 29);
  m_delete = button(QStringLiteral("&Delete"), 48);
  m_import = button(QStringLiteral("&Import\u2026"), 78);
  m_export = button(QStringLiteral("&Export\u2026"), 97);
  m_close = button(QStringLiteral("Close"), 185);
  // Only the default button answers Enter; the others take the focus and a click.
  for (QPushButton* b : {m_rename, m_delete, m_import, m_export, m_close}) b->setAutoDefault(false);

  connect(m_open, &QPushButton::clicked, this, &CManageScreensDlg::Open);
  connect(m_rename, &QPushButton::clicked, this, &CManageScreensDlg::Rename);
  connect(m_delete, &QPushButton::clicked, this, &CManageScreensDlg::Delete);
  connect(m_import, &QPushButton::clicked, this, &CManageScreensDlg::Import);
  connect(m_export, &QPushButton::clicked, this, &CManageScreensDlg::Export);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  // Enter in the list and a double-click on an item.
  connect(m_list, &QAbstractItemView::activated, this, &CManageScreensDlg::Open);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CManageScreensDlg::UpdateButtons);
  connect(m_list, &CScreenListView::renameCommitted, this, &CManageScreensDlg::OnRenameCommitted);
  connect(m_list, &CScreenListView::deletePressed, this, &CManageScreensDlg::Delete);

  ApplyDialogTheme(*this, dark);
  Fill(0, -1);
  m_list->setFocus(Qt::OtherFocusReason);
}

// QDialog's destructor hides the window, and an open rename editor then commits its text;
// by then this dialog's members are gone, so the list no longer reaches it.
CManageScreensDlg::~CManageScreensDlg() { disconnect(m_list, nullptr, this, nullptr); }

void CManageScreensDlg::Fill(int position, int storeIndex) {
  m_list->setUpdatesEnabled(false);
  m_list->clear();
  const std::vector<std::size_t> order = ScreenListOrder(m_store, m_kind);
  for (const std::size_t index : order) {
    const SavedScreen& screen = m_store[index];
    auto* item =
        new QTreeWidgetItem(m_list, {ToQString(screen.name), ToQString(ScreenerLabel(screen.kind)),
                                     ToQString(ScreenFiltersText(screen))});
    item->setData(0, kStoreIndexRole, static_cast<int>(index));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    // The whole text where a column cuts it short.
    for (int column = 0; column < 3; ++column) item->setToolTip(column, item->text(column));
  }
  const int selected = SelectionAfterFill(order, position, storeIndex);
  if (selected >= 0) {
    QTreeWidgetItem* item = m_list->topLevelItem(selected);
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
  }
  m_list->setUpdatesEnabled(true);
  UpdateButtons();
}

int CManageScreensDlg::SelectedStoreIndex() const {
  const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
  if (selected.isEmpty()) return -1;
  const int index = selected.front()->data(0, kStoreIndexRole).toInt();
  return index >= 0 && static_cast<std::size_t>(index) < m_store.size() ? index : -1;
}

void CManageScreensDlg::UpdateButtons() {
  const bool selected = SelectedStoreIndex() >= 0;
  m_open->setEnabled(selected);
  m_rename->setEnabled(selected);
  m_delete->setEnabled(selected);
  m_export->setEnabled(!m_store.empty());
}

void CManageScreensDlg::Open() {
  const int index = SelectedStoreIndex();
  if (index < 0) return;
  m_result = index;
  accept();
}

void CManageScreensDlg::Rename() {
  const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
  if (selected.isEmpty()) return;
  m_list->setFocus(Qt::OtherFocusReason);
  m_list->editItem(selected.front(), 0);
}

void CManageScreensDlg::OnRenameCommitted(QTreeWidgetItem* item, const QString& text) {
  const int index = item->data(0, kStoreIndexRole).toInt();
  if (index < 0 || static_cast<std::size_t>(index) >= m_store.size()) return;
  switch (RenameScreen(m_store, static_cast<std::size_t>(index), ToUtf8(text))) {
    case RenameResult::Unchanged:
      return;
    case RenameResult::Taken:
      Prompter().Show(this, PromptIcon::Information, ToQString(RenameTakenText));
      return;
    case RenameResult::Renamed:
      m_actions.save(this);
      item->setText(0, ToQString(m_store[static_cast<std::size_t>(index)].name));
      item->setToolTip(0, item->text(0));
      return;
  }
}

void CManageScreensDlg::Delete() {
  const int index = SelectedStoreIndex();
  if (index < 0) return;
  const int position = m_list->indexOfTopLevelItem(m_list->selectedItems().front());
  const std::string& name = m_store[static_cast<std::size_t>(index)].name;
  if (!Prompter().Ask(this, PromptIcon::Question, ToQString(DeleteScreenQuestionText(name)))) {
    return;
  }
  m_store.erase(m_store.begin() + index);
  m_actions.save(this);
  Fill(position, -1);
}

void CManageScreensDlg::Import() {
  const int formerSize = static_cast<int>(m_store.size());
  const int added = m_actions.importScreens(this);
  if (added < 0) return;
  Fill(0, added > 0 ? formerSize : -1);
}

void CManageScreensDlg::Export() {
  if (!m_store.empty()) m_actions.exportScreens(this);
}

}  // namespace velquist
