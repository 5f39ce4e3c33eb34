#include "gui/ui/screen_commands.h"

#include <QDir>
#include <QStandardPaths>

#include "app/screens_file.h"
#include "data/screen_list.h"
#include "data/screen_texts.h"
#include "gui/app/screener_app.h"
#include "gui/text/qt_text.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/manage_screens_dlg.h"
#include "gui/ui/prompter.h"
#include "gui/ui/save_screen_dlg.h"
#include "gui/web/web_host.h"
#include "site/url.h"
#include "ui/chrome_commands.h"

namespace velquist {
namespace {

const QString kScreensFilter = QStringLiteral("Saved screens (*.json)");
const QString kAllFilesFilter = QStringLiteral("All files (*)");

// Where the file dialogs start: the documents folder when there is one.
QString StartFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

}  // namespace

CScreenCommands::CScreenCommands(CMainFrame& frame, CScreenerApp& app)
    : QObject(&frame), m_frame(frame), m_app(app) {
  frame.SetCommandHandler(kCmdSaveScreen, [this] { SaveScreen(); });
  frame.SetCommandHandler(kCmdOpenSavedScreen, [this] { OpenSavedScreen(); });
  frame.SetCommandHandler(kCmdImportScreens, [this] { Import(&m_frame); });
  frame.SetCommandHandler(kCmdExportScreens, [this] { Export(&m_frame); });
}

void CScreenCommands::Save(QWidget* owner) { m_app.SaveAppState(owner); }

void CScreenCommands::SaveScreen() {
  SavedScreen screen;
  // The offline page stands in for the screen; it is no screener page to keep.
  const CWebHost& host = m_frame.ActiveHost();
  const std::string url = host.IsOffline() ? std::string() : host.CurrentUrl();
  switch (ScreenForUrl(url, screen)) {
    case ScreenUrlCheck::NotAScreenerPage:
      Prompter().Beep();
      return;
    case ScreenUrlCheck::FragmentTooOdd:
      Prompter().Show(&m_frame, PromptIcon::Exclamation, ToQString(UnstorableScreenText));
      return;
    case ScreenUrlCheck::Ready:
      break;
  }
  CSaveScreenDlg dialog(&m_frame, ToQString(DefaultScreenName(screen.path)),
                        ToQString(ScreenerNoun(screen.kind)), m_frame.IsDark());
  if (dialog.exec() != QDialog::Accepted) return;
  screen.name = NormalizeScreenName(ToUtf8(dialog.Name()));
  if (screen.name.empty()) return;

  ScreenStore& store = m_app.Screens();
  switch (DecideSaveScreen(store, screen)) {
    case SaveScreenAction::RefuseFull:
      Prompter().Show(&m_frame, PromptIcon::Information, ToQString(StoreFullText(screen.name)));
      return;
    case SaveScreenAction::Replace:
      if (!Prompter().Ask(&m_frame, PromptIcon::Question,
                          ToQString(ReplaceScreenQuestionText(screen.name)))) {
        return;
      }
      break;
    case SaveScreenAction::Add:
      break;
  }
  PutScreen(store, screen);
  if (m_app.SaveAppState(&m_frame)) {
    m_frame.ShowStatusText(ToQString(SavedScreenStatusText(screen.name)));
  }
}

void CScreenCommands::OpenSavedScreen() {
  ManageScreensActions actions;
  actions.save = [this](QWidget* owner) { Save(owner); };
  actions.importScreens = [this](QWidget* owner) { return Import(owner); };
  actions.exportScreens = [this](QWidget* owner) { Export(owner); };
  CManageScreensDlg dialog(&m_frame, m_app.Screens(), m_frame.ActiveTab(), std::move(actions),
                           m_frame.IsDark());
  if (dialog.exec() != QDialog::Accepted) return;
  const int index = dialog.Result();
  if (index < 0 || static_cast<std::size_t>(index) >= m_app.Screens().size()) return;
  const SavedScreen& screen = m_app.Screens()[static_cast<std::size_t>(index)];
  m_frame.SelectTab(static_cast<int>(screen.kind));
  m_frame.ActiveHost().Navigate(BuildScreenerUrl(screen.path, screen.hash));
}

int CScreenCommands::Import(QWidget* owner) {
  FileRequest request;
  request.folder = StartFolder();
  request.defaultSuffix = QStringLiteral("json");
  request.filters = {kScreensFilter, kAllFilesFilter};
  FileAnswer answer;
  if (!Prompter().AskFile(owner, request, answer)) return -1;

  ScreensImport result;
  std::string error;
  if (!ImportScreensFile(ToUtf8(answer.path), m_app.Screens(), result, error)) {
    Prompter().Show(owner, PromptIcon::Exclamation, ToQString(NotAScreensFileText(error)));
    return -1;
  }
  Save(owner);
  Prompter().Show(owner, PromptIcon::Information,
                  ToQString(ImportedScreensText(result.added, result.leftOut)));
  return static_cast<int>(result.added);
}

void CScreenCommands::Export(QWidget* owner) {
  if (m_app.Screens().empty()) return;
  FileRequest request;
  request.save = true;
  request.folder = StartFolder();
  request.fileName = QStringLiteral("Velquist screens.json");
  request.defaultSuffix = QStringLiteral("json");
  request.filters = {kScreensFilter};
  FileAnswer answer;
  if (!Prompter().AskFile(owner, request, answer)) return;
  if (!ExportScreensFile(ToUtf8(answer.path), m_app.Screens())) {
    Prompter().Show(owner, PromptIcon::Error, ToQString(ScreensExportWriteFailedText));
  }
}

}  // namespace velquist
