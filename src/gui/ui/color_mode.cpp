#include "gui/ui/color_mode.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMenuBar>
#include <QPalette>

#include "gui/text/qt_text.h"
#include "gui/ui/chrome_palette.h"
#include "gui/ui/chrome_toolbar.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/status_strip.h"
#include "gui/ui/tab_strip.h"
#include "gui/web/web_host.h"

namespace velquist {

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");

// The portal wraps the value in one or two variants depending on its version.
bool UnwrapUint(QVariant value, uint* out) {
  for (int depth = 0; depth < 3; ++depth) {
    if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
      value = value.value<QDBusVariant>().variant();
      continue;
    }
    bool ok = false;
    const uint v = value.toUInt(&ok);
    if (ok) *out = v;
    return ok;
  }
  return false;
}

bool ReadPortalScheme(DesktopScheme* out) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalSettings,
                                                     QStringLiteral("Read"));
  call << kAppearance << kColorScheme;
  // A portal that does not answer quickly is treated as absent.
  const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  uint value = 0;
  if (!UnwrapUint(reply.arguments().constFirst(), &value)) return false;
  *out = DesktopSchemeFromPortal(value);
  return true;
}

int g_startupWebScheme = 0;

}  // namespace

DesktopScheme ReadDesktopScheme() {
  DesktopScheme scheme = DesktopScheme::Unknown;
  if (ReadPortalScheme(&scheme) && scheme != DesktopScheme::Unknown) return scheme;
  const QPalette palette = QGuiApplication::palette();
  return DesktopSchemeFromPalette(palette.color(QPalette::Window).lightness(),
                                  palette.color(QPalette::WindowText).lightness());
}

bool IsDarkMode(int colorMode) {
  if (colorMode == kColorModeLight || colorMode == kColorModeDark) {
    return ResolveDarkMode(colorMode, DesktopScheme::Unknown);
  }
  return ResolveDarkMode(colorMode, ReadDesktopScheme());
}

QString MenuStyleSheet(bool dark) {
  const ChromeColors c = ChromeColorsFor(dark);
  const QString bg = c.background.name();
  const QString text = c.text.name();
  const QString dim = c.textDim.name();
  const QString hover = c.hoverBack.name();
  const QString border = c.border.name();
  return QStringLiteral(
             "QMenuBar { background: %1; color: %2; border: none; }"
             "QMenuBar::item { background: transparent; color: %2; padding: 4px 9px; }"
             "QMenuBar::item:selected, QMenuBar::item:pressed { background: %3; }"
             "QMenuBar::item:disabled { color: %4; }"
             "QMenu { background: %1; color: %2; border: 1px solid %5; padding: 4px 0px; }"
             "QMenu::item { background: transparent; padding: 5px 28px 5px 28px; }"
             "QMenu::item:selected { background: %3; }"
             "QMenu::item:disabled { color: %4; }"
             "QMenu::separator { height: 1px; background: %5; margin: 4px 10px; }")
      .arg(bg, text, hover, dim, border);
}

void ApplyColorMode(const ChromeParts& parts, bool dark) {
  const ChromeColors c = ChromeColorsFor(dark);
  if (parts.frame) {
    // Message boxes and file dialogs follow the main window.
    SetStockDialogMode(dark);
    QPalette palette = parts.frame->palette();
    palette.setColor(QPalette::Window, c.background);
    parts.frame->setPalette(palette);
    // Set on the frame so that the pop-up menus made with it as parent follow as well.
    parts.frame->setStyleSheet(MenuStyleSheet(dark));
  }
  if (parts.menuBar) {
    parts.menuBar->setStyleSheet(MenuStyleSheet(dark));
    parts.menuBar->update();
  }
  if (parts.toolBar) parts.toolBar->SetDark(dark);
  if (parts.tabStrip) parts.tabStrip->SetTheme(dark, parts.tabStrip->Dpi());
  if (parts.statusStrip) parts.statusStrip->SetTheme(dark, parts.statusStrip->Dpi());
  for (CWebHost* host : parts.hosts) {
    if (host) host->SetBackground(c.pageBack);
  }
  if (parts.frame) parts.frame->update();
}

int StartupWebContentScheme() { return g_startupWebScheme; }

QStringList StartupBrowserArguments(int colorMode, DesktopScheme desktop) {
  g_startupWebScheme = StartupPagesScheme(colorMode, desktop);
  const std::string argument = BlinkColorSchemeSwitch(g_startupWebScheme);
  if (argument.empty()) return {};
  return {ToQString(argument)};
}

QString PagesFollowAtNextStartText(bool dark) {
  if (!PagesSchemeDiffers(g_startupWebScheme, dark)) return {};
  return QStringLiteral("The color mode is applied; web pages follow it at the next start.");
}

CDesktopSchemeWatcher::CDesktopSchemeWatcher(QObject* parent) : QObject(parent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    bus.connect(kPortalService, kPortalPath, kPortalSettings, QStringLiteral("SettingChanged"),
                this, SLOT(OnPortalSettingChanged(QString, QString, QDBusVariant)));
  }
  if (qApp) qApp->installEventFilter(this);
}

bool CDesktopSchemeWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) emit changed();
  return QObject::eventFilter(watched, event);
}

void CDesktopSchemeWatcher::OnPortalSettingChanged(const QString& group, const QString& key,
                                                   const QDBusVariant&) {
  if (group == kAppearance && key == kColorScheme) emit changed();
}

}  // namespace velquist
