// Message boxes and file dialogs shown through the program's prompter take the colour mode
// of the main window: their backgrounds, texts, lists and name boxes are read off the
// widgets while they are open, then the test answers them.
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "data/screen_texts.h"
#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/prompter.h"
#include "support/gui_test_main.h"
#include "support/modal.h"
#include "support/pixels.h"
#include "ui/dialog_palette.h"

using namespace velquist;
using namespace velquist::test;

namespace {

// A window drawn the way the main window draws itself in a mode (its menu style sheet
// reaches every dialog made over it).
class ModeWindow : public QWidget {
 public:
  explicit ModeWindow(bool dark) {
    resize(900, 600);
    ChromeParts parts;
    parts.frame = this;
    ApplyColorMode(parts, dark);
    show();
  }
};

// Whether the widget painted some pixels in colour (the glyphs of its text).
bool PaintsIn(QWidget& widget, const QColor& colour) {
  const QImage image = widget.grab().toImage();
  int hits = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (Near(image.pixelColor(x, y), colour)) ++hits;
    }
  }
  return hits >= 3;
}

// The colours the user would see in an open message box.
struct SeenBox {
  QColor window, text, buttonText, corner;
  bool textPainted = false;
};

SeenBox ReadBox(QMessageBox& box) {
  SeenBox seen;
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  seen.window = box.palette().color(QPalette::Window);
  seen.corner = PixelAt(box, QPoint(box.width() - 2, box.height() - 2));
  if (label) {
    seen.text = label->palette().color(QPalette::WindowText);
    seen.textPainted = PaintsIn(*label, seen.text);
  }
  if (QAbstractButton* button = box.buttons().value(0)) {
    seen.buttonText = button->palette().color(QPalette::ButtonText);
  }
  return seen;
}

QColor Q(Rgb rgb) { return ToQColor(rgb); }

// The colours the user would see in an open file dialog: its window, the file list with a
// selected file, the name box and the folder box with their drop-down lists, and the OK
// button while it is disabled.
struct SeenFileDialog {
  QColor window, listBase, listText, listCorner, nameBase, nameText, nameInside, folderText,
      folderListBase, folderListText, completionBase, disabledText;
  bool namePainted = false, selectionPainted = false, disabledPainted = false;
};

// The row of the list's folder that shows `name`, invalid while it is not listed.
QModelIndex FindRow(const QListView& list, const QString& name) {
  const QAbstractItemModel* model = list.model();
  for (int row = 0; model && row < model->rowCount(list.rootIndex()); ++row) {
    const QModelIndex index = model->index(row, 0, list.rootIndex());
    if (index.data().toString() == name) return index;
  }
  return {};
}

QPushButton* OkButton(QFileDialog& dialog) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  if (!buttons) return nullptr;
  return buttons->button(dialog.acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
}

// Reads the OK button while no name is given, which disables it.
void ReadDisabledButton(QFileDialog& dialog, SeenFileDialog& seen) {
  QPushButton* ok = OkButton(dialog);
  if (!ok || ok->isEnabled()) return;
  seen.disabledText = ok->palette().color(QPalette::Disabled, QPalette::ButtonText);
  seen.disabledPainted = PaintsIn(*ok, seen.disabledText);
}

void ReadFileDialog(QFileDialog& dialog, const DialogPalette& want, SeenFileDialog& seen) {
  seen.window = dialog.palette().color(QPalette::Window);
  // The files are shown as a list or with details, whichever the dialog shows.
  QAbstractItemView* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
  if (list && !list->isVisible()) list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  auto* folder = dialog.findChild<QComboBox*>(QStringLiteral("lookInCombo"));
  if (!list || !name || !folder) return;
  seen.listBase = list->palette().color(QPalette::Base);
  seen.listText = list->palette().color(QPalette::Text);
  QWidget& items = *list->viewport();
  seen.listCorner = PixelAt(items, QPoint(items.width() - 3, items.height() - 3));
  seen.namePainted = PaintsIn(items, Q(want.Text));
  seen.selectionPainted = PaintsIn(items, Q(want.Highlight));
  seen.nameBase = name->palette().color(QPalette::Base);
  seen.nameText = name->palette().color(QPalette::Text);
  seen.nameInside = PixelAt(*name, QPoint(name->width() - 4, name->height() / 2));
  seen.folderText = folder->palette().color(QPalette::Text);
  seen.folderListBase = folder->view()->palette().color(QPalette::Base);
  seen.folderListText = folder->view()->palette().color(QPalette::Text);
  if (name->completer()) {
    seen.completionBase = name->completer()->popup()->palette().color(QPalette::Base);
  }
}

void AddModeRows() {
  QTest::addColumn<bool>("dark");
  QTest::newRow("light") << false;
  QTest::newRow("dark") << true;
}

}  // namespace

class StockDialogThemeTest : public QObject {
  Q_OBJECT
 private slots:
  void messagesAndQuestions_data() { AddModeRows(); }
  void messagesAndQuestions() {
    QFETCH(bool, dark);
    const DialogPalette& want = DialogPaletteFor(dark);
    ModeWindow window(dark);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const bool question : {false, true}) {
      SeenBox seen;
      WhenModal<QMessageBox> answer([&](QMessageBox& box) {
        seen = ReadBox(box);
        box.button(question ? QMessageBox::No : QMessageBox::Ok)->click();
      });
      const QString text = QStringLiteral("\u201CBig caps\u201D already exists.\nReplace it?");
      if (question) {
        QVERIFY(!Prompter().Ask(&window, PromptIcon::Question, text));
      } else {
        Prompter().Show(&window, PromptIcon::Information, text);
      }
      QVERIFY(answer.Ran());
      QCOMPARE(seen.window, Q(want.Window));
      QCOMPARE(seen.text, Q(want.Text));
      QCOMPARE(seen.buttonText, Q(want.Text));
      QVERIFY2(Near(seen.corner, Q(want.Window)), qPrintable(seen.corner.name()));
      QVERIFY(seen.textPainted);
    }
  }

  void fileDialogs_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("save");
    QTest::newRow("light open") << false << false;
    QTest::newRow("dark open") << true << false;
    QTest::newRow("light save as") << false << true;
    QTest::newRow("dark save as") << true << true;
  }
  void fileDialogs() {
    QFETCH(bool, dark);
    QFETCH(bool, save);
    const DialogPalette& want = DialogPaletteFor(dark);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char* file : {"Big caps.json", "Dividend stocks.json", "notes.txt"}) {
      QFile f(folder.filePath(QString::fromUtf8(file)));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    ModeWindow window(dark);
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    FileRequest request;
    request.save = save;
    request.folder = folder.path();
    request.defaultSuffix = QStringLiteral("json");
    // Only saved screens: the other file is not listed.
    request.filters = {QStringLiteral("Saved screens (*.json)")};
    SeenFileDialog seen;
    WhenModal<QFileDialog> answer([&](QFileDialog& dialog) {
      // A check that fails returns from here: the dialog must not stay open then.
      struct RejectAtEnd {
        QFileDialog& dialog;
        ~RejectAtEnd() {
          if (dialog.isVisible()) dialog.reject();
        }
      } rejectAtEnd{dialog};
      ReadDisabledButton(dialog, seen);
      auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
      QVERIFY(list);
      auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(name);
      // The folder is listed by a thread of Qt's. The name is typed once the file is listed,
      // and the dialog selects it in the list: selectFile() on a shown dialog changes nothing
      // while the name field has the focus, and whether it had it first was a race.
      QTRY_VERIFY_WITH_TIMEOUT(FindRow(*list, QStringLiteral("Big caps.json")).isValid(), 20000);
      name->setText(QStringLiteral("Big caps.json"));
      QTRY_VERIFY_WITH_TIMEOUT(!list->selectionModel()->selectedIndexes().isEmpty(), 20000);
      ReadFileDialog(dialog, want, seen);
      // The new name is typed and taken at once, with no event between: a late selection in
      // the list would put its name back into the field and bring the question to replace it.
      if (save) {
        list->clearSelection();
        name->setText(QStringLiteral("Small caps"));
      }
      QCOMPARE(name->text(), save ? QStringLiteral("Small caps") : QStringLiteral("Big caps.json"));
      QVERIFY(OkButton(dialog)->isEnabled());
      OkButton(dialog)->click();
    });
    FileAnswer chosen;
    QVERIFY(Prompter().AskFile(&window, request, chosen));
    QVERIFY(answer.Ran());
    QCOMPARE(chosen.path, folder.filePath(save ? QStringLiteral("Small caps.json")
                                               : QStringLiteral("Big caps.json")));

    QCOMPARE(seen.window, Q(want.Window));
    QCOMPARE(seen.listBase, Q(want.Base));
    QCOMPARE(seen.listText, Q(want.Text));
    QVERIFY2(Near(seen.listCorner, Q(want.Base)), qPrintable(seen.listCorner.name()));
    QVERIFY(seen.namePainted);
    QVERIFY(seen.selectionPainted);
    QCOMPARE(seen.disabledText, Q(want.TextDim));
    QVERIFY(seen.disabledPainted);
    QCOMPARE(seen.nameBase, Q(want.Base));
    QCOMPARE(seen.nameText, Q(want.Text));
    QVERIFY2(Near(seen.nameInside, Q(want.Base)), qPrintable(seen.nameInside.name()));
    QCOMPARE(seen.folderText, Q(want.Text));
    QCOMPARE(seen.folderListBase, Q(want.Base));
    QCOMPARE(seen.folderListText, Q(want.Text));
    QCOMPARE(seen.completionBase, Q(want.Base));
  }

  // Not a check: writes the pictures shown in README.md when VELQUIST_SCREENSHOT_DIR names a
  // folder.
  void screenshots() {
    const QString folder = qEnvironmentVariable("VELQUIST_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("VELQUIST_SCREENSHOT_DIR is not set");
    // A folder of the user's documents, as a user would keep saved screens.
    QDir files(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
               QStringLiteral("/Saved screens"));
    QVERIFY(files.mkpath(QStringLiteral(".")));
    for (const char* file : {"Big caps.json", "Dividend stocks.json", "notes.txt"}) {
      QFile f(files.filePath(QString::fromUtf8(file)));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    for (const bool dark : {false, true}) {
      const QString mode = dark ? QStringLiteral("dark") : QStringLiteral("light");
      ModeWindow window(dark);
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      WhenModal<QMessageBox> box([&](QMessageBox& dialog) {
        QVERIFY(dialog.grab().save(folder + QStringLiteral("/message-box-%1.png").arg(mode)));
        dialog.button(QMessageBox::No)->click();
      });
      Prompter().Ask(&window, PromptIcon::Question,
                     ToQString(ReplaceScreenQuestionText("Big caps")));
      QVERIFY(box.Ran());
      FileRequest request;
      request.save = true;
      request.folder = files.path();
      request.fileName = QStringLiteral("Screens.json");
      request.defaultSuffix = QStringLiteral("json");
      request.filters = {QStringLiteral("Saved screens (*.json)"), QStringLiteral("All files (*)")};
      WhenModal<QFileDialog> dialog([&](QFileDialog& shown) {
        auto* list = shown.findChild<QListView*>(QStringLiteral("listView"));
        QTRY_VERIFY_WITH_TIMEOUT(list && list->model()->rowCount(list->rootIndex()) >= 2, 20000);
        QVERIFY(shown.grab().save(folder + QStringLiteral("/save-as-%1.png").arg(mode)));
        shown.reject();
      });
      FileAnswer chosen;
      Prompter().AskFile(&window, request, chosen);
      QVERIFY(dialog.Ran());
    }
    files.removeRecursively();
  }
};

VELQUIST_GUI_TEST_MAIN(StockDialogThemeTest)
#include "stock_dialog_theme_test.moc"
