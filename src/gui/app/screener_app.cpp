#include "gui/app/screener_app.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcessEnvironment>

#include "app/files.h"
#include "app/reg_file_option_store.h"
#include "gui/app/single_instance.h"
#include "gui/app/window_placement.h"
#include "gui/text/qt_text.h"
#include "gui/ui/main_frame.h"
#include "gui/ui/prompter.h"
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

QStringList ProgramArguments(const QStringList& words) {
  QStringList own = words.mid(1);
  const qsizetype engine = own.indexOf(QStringLiteral("--webEngineArgs"));
  if (engine >= 0) own.resize(engine);
  return own;
}

CScreenerApp::CScreenerApp(QStringList arguments, QObject* parent)
    : QObject(parent),
      m_arguments(std::move(arguments)),
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
  // Any text on the command line suppresses the splash.
  m_showSplashAtStart = Options().ShowSplash && m_arguments.isEmpty();

  m_frame = std::make_unique<CMainFrame>(*this);
  RestorePlacement(*m_frame, Options().Placement, false);
  // The splash window belongs to a later part of the program; until it exists a start
  // with ShowSplashAtStart set shows the main window alone.
  return true;
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
  if (notice) ShowNotice(nullptr, *notice);
}

bool CScreenerApp::SaveAppState(QWidget* parent) {
  const SaveResult result = velquist::SaveAppState(m_state, *m_optionStore, DataFolder());
  if (result.notice) ShowNotice(parent, *result.notice);
  return result.screensWritten;
}

}  // namespace velquist
