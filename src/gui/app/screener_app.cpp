#include "gui/app/screener_app.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcessEnvironment>

#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "app/start_decisions.h"
#include "gui/app/heap_trim.h"
#include "gui/app/program_command_line.h"
#include "gui/app/single_instance.h"
#include "gui/app/window_placement.h"
#include "gui/text/qt_text.h"
#include "gui/ui/color_mode.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/portal_scheme_probe.h"
#include "gui/ui/prompter.h"
#include "gui/ui/splash_window.h"
#include "gui/web/external_opener.h"

namespace velquist {
namespace {

const char* const kWebEngineMissing =
    "Velquist needs the Qt WebEngine browser component (QtWebEngineProcess), which is not "
    "installed on this computer.\n\nIt is free and part of the package "
    "libqt6webenginecore6-bin. Open the package's download page now?";
const char* const kWebEngineDownloadUrl =
    "https://packages.debian.org/bookworm/libqt6webenginecore6-bin";

void ShowNotice(QWidget* parent, const Notice& notice) {
  Prompter().Show(parent,
                  notice.icon == NoticeIcon::Error ? PromptIcon::Error : PromptIcon::Warning,
                  ToQString(notice.text));
}

}  // namespace

CScreenerApp::CScreenerApp(QStringList arguments, ProgramCommandLine* commandLine, QObject* parent)
    : QObject(parent),
      m_arguments(std::move(arguments)),
      m_commandLine(commandLine),
      m_instanceName(SingleInstance::DefaultName()),
      m_optionStore(std::make_unique<RegFileOptionStore>(OptionsFilePath())) {}

CScreenerApp::~CScreenerApp() = default;

bool CScreenerApp::InitInstance() {
  m_instance = new SingleInstance(
      m_instanceName, [this] { return RaiseMainWindow(); }, this);
  if (!m_instance->Claim()) return false;

  if (!WebEngineInstalled()) {
    if (Prompter().Ask(nullptr, PromptIcon::Information, QString::fromUtf8(kWebEngineMissing))) {
      OpenInDefaultBrowser(kWebEngineDownloadUrl);
    }
    return false;
  }

  LoadAppState();
  GivePagesTheirColorScheme();
  std::vector<std::string> words;
  for (const QString& word : m_arguments) words.push_back(ToUtf8(word));
  m_showSplashAtStart = velquist::ShowSplashAtStart(Options().ShowSplash, words);

  m_frame = std::make_unique<CMainFrame>(*this);
  new CHeapTrimmer(this);
  RestorePlacement(*m_frame, Options().Placement, false);
  if (m_showSplashAtStart) CSplashWnd::ShowOver(*m_frame);
  return true;
}

// The pages' preferred colour scheme reaches the browser engine only as a switch at its
// start, which comes with the main window's browser profile; so it is decided here, from
// the options just loaded (screens.json and the options store alike), before the window
// is made. In the System mode it is the desktop's preference.
void CScreenerApp::GivePagesTheirColorScheme() {
  if (!m_commandLine) return;
  const int mode = static_cast<int>(Options().ColorMode);
  m_commandLine->AddEngineSwitches(
      StartupBrowserArguments(mode, StartupDesktopScheme(mode, SessionBusAddress())));
}

bool CScreenerApp::WebEngineInstalled() const {
  QString helper =
      QProcessEnvironment::systemEnvironment().value(QStringLiteral("QTWEBENGINEPROCESS_PATH"));
  if (helper.isEmpty()) {
    helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
             QStringLiteral("/QtWebEngineProcess");
  }
  const QFileInfo info(helper);
  return info.isFile() && info.isExecutable();
}

bool CScreenerApp::RaiseMainWindow() {
  if (!m_frame) return false;
  // Restoring keeps a maximised window maximised.
  if (m_frame->isMinimized())
    m_frame->setWindowState(m_frame->windowState() & ~Qt::WindowMinimized);
  m_frame->raise();
  m_frame->activateWindow();
  emit mainWindowRaised();
  return true;
}

void CScreenerApp::LoadAppState() {
  const std::optional<Notice> notice =
      velquist::LoadAppState(m_state, *m_optionStore, DataFolder());
  if (!notice) return;
  // Shown before the main window exists, in the colour mode just loaded.
  SetStockDialogMode(IsDarkMode(static_cast<int>(Options().ColorMode)));
  ShowNotice(nullptr, *notice);
}

bool CScreenerApp::SaveAppState(QWidget* parent) {
  const SaveResult result = velquist::SaveAppState(m_state, *m_optionStore, DataFolder());
  if (result.notice) ShowNotice(parent, *result.notice);
  return result.screensWritten;
}

}  // namespace velquist
