// The Open Saved Screen dialog over a store of its own: the list's order and texts, the
// buttons' states, Open, renaming in place, deleting, importing, and the empty list.
#include "gui/ui/manage_screens_dlg.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/ui/chrome_palette.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/screen_list_view.h"
#include "support/gui_test_main.h"
#include "support/pixels.h"
#include "support/recording_prompter.h"
#include "ui/dialog_palette.h"

using namespace velquist;
using namespace velquist::test;

namespace {

constexpr ScreenerKind S = ScreenerKind::Stocks;
constexpr ScreenerKind E = ScreenerKind::Etfs;

SavedScreen Screen(const char* name, ScreenerKind kind, const char* path = nullptr,
                   const char* hash = "") {
  return {name, kind, path ? path : (kind == E ? "/etf-screener.html" : "/screener.html"), hash};
}

bool Close(const QColor& a, const QColor& b, int tolerance) {
  return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
         qAbs(a.blue() - b.blue()) <= tolerance;
}

QStringList Column(const CScreenListView& list, int column) {
  QStringList texts;
  for (int i = 0; i < list.topLevelItemCount(); ++i) texts << list.topLevelItem(i)->text(column);
  return texts;
}

int CurrentRow(const CScreenListView& list) {
  const auto selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.indexOfTopLevelItem(selected.front());
}

// The dialog with a store and actions that count what the dialog asked for.
struct Fixture {
  ScreenStore store;
  int saves = 0;
  int exports = 0;
  ScreenStore toImport;
  QWidget frame;
  std::unique_ptr<CManageScreensDlg> dialog;

  void Open(ScreenerKind kind, bool dark = false) {
    ManageScreensActions actions;
    actions.save = [this](QWidget*) { ++saves; };
    actions.exportScreens = [this](QWidget*) { ++exports; };
    actions.importScreens = [this](QWidget*) {
      return static_cast<int>(ImportScreens(store, toImport));
    };
    // The main window's style sheet reaches the dialog in the program.
    frame.setStyleSheet(MenuStyleSheet(dark));
    dialog = std::make_unique<CManageScreensDlg>(&frame, store, kind, std::move(actions), dark);
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
  }
  CScreenListView& List() { return *dialog->List(); }
  void Select(int row) { List().setCurrentItem(List().topLevelItem(row)); }
  // The box of the name being edited, once the editing has begun; null when it does not.
  QLineEdit* Editor() {
    if (!QTest::qWaitFor([this] { return List().IsEditing(); })) return nullptr;
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
  }
  // Ends the editing with key; true once it has ended.
  bool EndEditing(QLineEdit* editor, Qt::Key key) {
    QTest::keyClick(editor, key);
    return QTest::qWaitFor([this] { return !List().IsEditing(); });
  }
  // Edits the selected name with F2, types text and ends with Enter.
  void RenameTo(const QString& text) {
    QTest::keyClick(&List(), Qt::Key_F2);
    QLineEdit* editor = Editor();
    QVERIFY(editor);
    QCOMPARE(editor->maxLength(), 80);
    editor->setText(text);
    QVERIFY(EndEditing(editor, Qt::Key_Return));
  }
};

}  // namespace

class ManageScreensDlgTest : public QObject {
  Q_OBJECT
 private slots:
  void listsTheActiveScreenersScreensFirst_data() {
    QTest::addColumn<bool>("etfActive");
    QTest::newRow("stocks") << false;
    QTest::newRow("etfs") << true;
  }
  void listsTheActiveScreenersScreensFirst() {
    QFETCH(bool, etfActive);
    Fixture f;
    f.store = {Screen("a", S), Screen("b", E), Screen("c", S), Screen("d", E), Screen("e", E)};
    f.Open(etfActive ? E : S);
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Open Saved Screen"));
    QCOMPARE(f.List().headerItem()->text(0), QStringLiteral("Name"));
    QCOMPARE(f.List().headerItem()->text(1), QStringLiteral("Screener"));
    QCOMPARE(f.List().headerItem()->text(2), QStringLiteral("Filters"));
    if (etfActive) {
      QCOMPARE(Column(f.List(), 0), (QStringList{"b", "d", "e", "a", "c"}));
      QCOMPARE(Column(f.List(), 1), (QStringList{"ETFs", "ETFs", "ETFs", "Stocks", "Stocks"}));
    } else {
      QCOMPARE(Column(f.List(), 0), (QStringList{"a", "c", "b", "d", "e"}));
      QCOMPARE(Column(f.List(), 1), (QStringList{"Stocks", "Stocks", "ETFs", "ETFs", "ETFs"}));
    }
    QCOMPARE(CurrentRow(f.List()), 0);
    QTRY_VERIFY(f.List().hasFocus());
    // A click on a heading leaves the order as it is.
    QVERIFY(!f.List().header()->sectionsClickable());
  }

  void filtersTextShowsPresetAndDecodedFragment() {
    Fixture f;
    f.store = {Screen("p", S, "/screener/value-stocks.html"),
               Screen("q", S, "/screener.html", "q=big%20bank&sort=-dy"),
               Screen("r", E, "/screener/etf-crypto.html", "page=2")};
    f.Open(S);
    QCOMPARE(Column(f.List(), 2),
             (QStringList{QString::fromUtf8("Value stocks \u00B7 default view"),
                          QStringLiteral("q=big bank&sort=-dy"),
                          QString::fromUtf8("Bitcoin & crypto ETFs \u00B7 page=2")}));
  }

  void buttonsFollowTheSelectionAndTheStore() {
    Fixture f;
    f.store = {Screen("a", S)};
    f.Open(S);
    QVERIFY(f.dialog->OpenButton()->isEnabled());
    QVERIFY(f.dialog->RenameButton()->isEnabled());
    QVERIFY(f.dialog->DeleteButton()->isEnabled());
    QVERIFY(f.dialog->ExportButton()->isEnabled());
    QVERIFY(f.dialog->ImportButton()->isEnabled());
    QVERIFY(f.dialog->OpenButton()->isDefault());
    f.List().clearSelection();
    QVERIFY(!f.dialog->OpenButton()->isEnabled());
    QVERIFY(!f.dialog->RenameButton()->isEnabled());
    QVERIFY(!f.dialog->DeleteButton()->isEnabled());
    QVERIFY(f.dialog->ExportButton()->isEnabled());
    QTest::mouseClick(f.dialog->ExportButton(), Qt::LeftButton);
    QCOMPARE(f.exports, 1);
  }

  void enterAndDoubleClickOpenTheSelectedScreen() {
    Fixture f;
    f.store = {Screen("a", S), Screen("b", E), Screen("c", S)};
    f.Open(E);
    f.Select(2);  // "c", store index 2
    QTest::keyClick(&f.List(), Qt::Key_Return);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.dialog->Result(), 2);

    f.Open(E);
    QCOMPARE(f.dialog->Result(), -1);
    QTreeWidgetItem* item = f.List().topLevelItem(1);  // "a", store index 0
    const QPoint at = f.List().visualItemRect(item).center();
    // A double-click is a press and release followed by a second press that doubles.
    QTest::mouseClick(f.List().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(f.List().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.dialog->Result(), 0);
  }

  void renameCollidesOnlyWithinTheScreener() {
    RecordingPrompter prompter;
    Fixture f;
    f.store = {Screen("Value", S), Screen("Growth", S), Screen("Bonds", E)};
    f.Open(S);
    f.Select(0);
    f.RenameTo(QStringLiteral("Growth"));
    QCOMPARE(
        prompter.texts,
        QStringList{QStringLiteral("Another screen for this screener already has that name.")});
    QCOMPARE(prompter.icons.front(), PromptIcon::Information);
    QCOMPARE(f.store[0].name, std::string("Value"));
    QCOMPARE(f.List().topLevelItem(0)->text(0), QStringLiteral("Value"));
    QCOMPARE(f.saves, 0);

    // Enter ended the editing only.
    QVERIFY(f.dialog->isVisible());
    f.RenameTo(QStringLiteral("  Bonds  "));
    QCOMPARE(f.store[0].name, std::string("Bonds"));
    QCOMPARE(f.List().topLevelItem(0)->text(0), QStringLiteral("Bonds"));
    QCOMPARE(f.saves, 1);
    QCOMPARE(Column(f.List(), 0), (QStringList{"Bonds", "Growth", "Bonds"}));
    QCOMPARE(prompter.texts.size(), 1);

    // A name of spaces changes nothing; the Rename button edits too.
    QTest::mouseClick(f.dialog->RenameButton(), Qt::LeftButton);
    QLineEdit* editor = f.Editor();
    QVERIFY(editor);
    editor->setText(QStringLiteral("   "));
    QVERIFY(f.EndEditing(editor, Qt::Key_Return));
    QCOMPARE(f.store[0].name, std::string("Bonds"));
    QCOMPARE(f.saves, 1);
    QVERIFY(f.dialog->isVisible());
  }

  void escapeCancelsARename() {
    Fixture f;
    f.store = {Screen("Value", S)};
    f.Open(S);
    QTest::keyClick(&f.List(), Qt::Key_F2);
    QLineEdit* editor = f.Editor();
    QVERIFY(editor);
    editor->setText(QStringLiteral("Other"));
    QVERIFY(f.EndEditing(editor, Qt::Key_Escape));
    QCOMPARE(f.store[0].name, std::string("Value"));
    QCOMPARE(f.saves, 0);
    QVERIFY(f.dialog->isVisible());
  }

  void deleteAsksAndSelectsTheNextItem() {
    RecordingPrompter prompter;
    Fixture f;
    f.store = {Screen("a", S), Screen("b", E), Screen("c", S), Screen("d", S)};
    f.Open(S);  // a c d b
    f.Select(3);
    prompter.answer = false;
    QTest::keyClick(&f.List(), Qt::Key_Delete);
    QCOMPARE(prompter.texts.size(), 1);
    QCOMPARE(prompter.texts.front(), QString::fromUtf8("Delete the saved screen \u201Cb\u201D?"));
    QCOMPARE(prompter.icons.front(), PromptIcon::Question);
    QCOMPARE(f.store.size(), std::size_t(4));
    QCOMPARE(f.saves, 0);

    // Deleting the last item selects the new last item.
    prompter.answer = true;
    QTest::keyClick(&f.List(), Qt::Key_Delete);
    QCOMPARE(f.store.size(), std::size_t(3));
    QCOMPARE(f.saves, 1);
    QCOMPARE(Column(f.List(), 0), (QStringList{"a", "c", "d"}));
    QCOMPARE(CurrentRow(f.List()), 2);

    // Deleting inside the list selects the item that moved up.
    f.Select(0);
    QTest::mouseClick(f.dialog->DeleteButton(), Qt::LeftButton);
    QCOMPARE(Column(f.List(), 0), (QStringList{"c", "d"}));
    QCOMPARE(CurrentRow(f.List()), 0);
    QCOMPARE(f.store[0].name, std::string("c"));
    QCOMPARE(f.saves, 2);
  }

  void importSelectsTheFirstImportedScreen() {
    Fixture f;
    f.store = {Screen("a", S), Screen("b", E)};
    f.toImport = {Screen("a", S), Screen("z", E)};
    f.Open(S);
    QTest::mouseClick(f.dialog->ImportButton(), Qt::LeftButton);
    QCOMPARE(f.store.size(), std::size_t(4));
    QCOMPARE(Column(f.List(), 0), (QStringList{"a", "a (2)", "b", "z"}));
    QCOMPARE(CurrentRow(f.List()), 1);

    // Nothing added: the first item.
    f.toImport.clear();
    QTest::mouseClick(f.dialog->ImportButton(), Qt::LeftButton);
    QCOMPARE(CurrentRow(f.List()), 0);
  }

  void selectedRowInTheModesHighlight_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }
  void selectedRowInTheModesHighlight() {
    QFETCH(bool, dark);
    Fixture f;
    f.store = {Screen("Big caps", S, "/screener.html", "cap=10000..&sort=-cap"),
               Screen("Value", S, "/screener/value-stocks.html"),
               Screen("Tech dividends", S, "/screener.html",
                      "dy=2..&sector=technology&cols=s,name,dy,ch1y&sort=-dy"),
               Screen("Cheap bonds", E, "/screener/etf-bond.html", "er=..0.1"),
               Screen("Crypto", E, "/screener/etf-crypto.html")};
    f.Open(S, dark);
    const DialogPalette& p = DialogPaletteFor(dark);
    const QRect row = f.List().visualItemRect(f.List().topLevelItem(0));
    // Past the end of the name, inside the selected row.
    const QPoint inRow(f.List().columnWidth(0) - 4, row.center().y());
    // The style may shade the selection a little.
    QVERIFY(Close(PixelAt(*f.List().viewport(), inRow), ToQColor(p.Highlight), 24));
    const QRect other = f.List().visualItemRect(f.List().topLevelItem(1));
    QVERIFY(Near(PixelAt(*f.List().viewport(), QPoint(inRow.x(), other.center().y())),
                 ToQColor(p.Base)));
    const QByteArray shots = qgetenv("VELQUIST_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
      const QString name = dark ? "open-saved-screen-dark.png" : "open-saved-screen-light.png";
      QVERIFY(f.dialog->grab().save(QString::fromLocal8Bit(shots) + "/" + name));
    }
    // A name being edited sits in a field of the mode.
    QTest::keyClick(&f.List(), Qt::Key_F2);
    QLineEdit* editor = f.Editor();
    QVERIFY(editor);
    QVERIFY(Near(PixelAt(*editor, QPoint(editor->width() - 6, editor->height() / 2)),
                 ToQColor(p.Base)));
  }

  void emptyListSaysHowToSaveOne_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }
  void emptyListSaysHowToSaveOne() {
    QFETCH(bool, dark);
    Fixture f;
    f.Open(S, dark);
    QCOMPARE(f.List().topLevelItemCount(), 0);
    QCOMPARE(
        f.List().EmptyText(),
        QStringLiteral("No saved screens yet.\nSet up the filters, then click Save (Ctrl+S)."));
    QVERIFY(!f.dialog->OpenButton()->isEnabled());
    QVERIFY(!f.dialog->RenameButton()->isEnabled());
    QVERIFY(!f.dialog->DeleteButton()->isEnabled());
    QVERIFY(!f.dialog->ExportButton()->isEnabled());
    QVERIFY(f.dialog->ImportButton()->isEnabled());
    // The text is painted in the mode's text colour on the list's field colour.
    const DialogPalette& p = DialogPaletteFor(dark);
    QWidget* viewport = f.List().viewport();
    const QImage image = viewport->grab().toImage();
    int text = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x)
        text += Near(image.pixelColor(x, y), ToQColor(p.Text));
    }
    QVERIFY(text > 20);
    QVERIFY(Near(PixelAt(*viewport, QPoint(2, viewport->height() - 3)), ToQColor(p.Base)));
  }
};

VELQUIST_GUI_TEST_MAIN(ManageScreensDlgTest)
#include "manage_screens_dlg_test.moc"
