// The Open Saved Screen dialog: every saved screen in a list, the active screener's first;
// Open, Rename, Delete, Import and Export. Each change is made to the store and saved at
// once, so Close never loses one.
#pragma once

#include <QDialog>
#include <functional>

#include "data/screens.h"

class QPushButton;
class QTreeWidgetItem;

namespace velquist {

class CScreenListView;

// What the dialog asks of its owner.
struct ManageScreensActions {
  std::function<void(QWidget* owner)> save;          // saves the store
  std::function<int(QWidget* owner)> importScreens;  // screens added, -1 when none
  std::function<void(QWidget* owner)> exportScreens;
};

class CManageScreensDlg : public QDialog {
  Q_OBJECT
 public:
  CManageScreensDlg(QWidget* parent, ScreenStore& store, ScreenerKind activeKind,
                    ManageScreensActions actions, bool dark);
  ~CManageScreensDlg() override;

  // The store index of the screen to open after Open, else -1.
  int Result() const { return m_result; }

  CScreenListView* List() const { return m_list; }
  QPushButton* OpenButton() const { return m_open; }
  QPushButton* RenameButton() const { return m_rename; }
  QPushButton* DeleteButton() const { return m_delete; }
  QPushButton* ImportButton() const { return m_import; }
  QPushButton* ExportButton() const { return m_export; }
  QPushButton* CloseButton() const { return m_close; }

 private:
  // Shows the store in list order and selects the item of storeIndex, else the one at
  // position, else the last.
  void Fill(int position, int storeIndex);
  void UpdateButtons();
  int SelectedStoreIndex() const;
  void Open();
  void Rename();
  void OnRenameCommitted(QTreeWidgetItem* item, const QString& text);
  void Delete();
  void Import();
  void Export();

  ScreenStore& m_store;
  ScreenerKind m_kind;
  ManageScreensActions m_actions;
  int m_result = -1;
  CScreenListView* m_list = nullptr;
  QPushButton* m_open = nullptr;
  QPushButton* m_rename = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_import = nullptr;
  QPushButton* m_export = nullptr;
  QPushButton* m_close = nullptr;
};

}  // namespace velquist
