// The window's colour mode: whether it is drawn dark, applying a mode to every part of
// the main window, and watching the desktop's colour preference.
#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QStringList>

#include "ui/chrome_color_mode.h"

class QMenuBar;
class QWidget;

namespace velquist {

class CChromeToolBar;
class CStatusStrip;
class CTabStrip;
class CWebHost;

// The desktop's preference: the freedesktop settings portal's color-scheme when a portal
// answers on the session bus, else the lightness of the application palette.
DesktopScheme ReadDesktopScheme();

// The effective mode for a stored colour mode (System 0, Light 1, Dark 2).
bool IsDarkMode(int colorMode);

// Every part the colour mode reaches. Null parts are skipped.
struct ChromeParts {
  QWidget* frame = nullptr;
  QMenuBar* menuBar = nullptr;
  CChromeToolBar* toolBar = nullptr;
  CTabStrip* tabStrip = nullptr;
  CStatusStrip* statusStrip = nullptr;
  std::vector<CWebHost*> hosts;
};

// Draws every part in the dark or light palette at once: the frame's background, the menu
// bar and its pop-up menus (no light line under the menu bar), toolbar, strips and the
// hosts' background.
void ApplyColorMode(const ChromeParts& parts, bool dark);

// The style sheet that draws menu bars and pop-up menus in the chrome palette.
QString MenuStyleSheet(bool dark);

// The web pages' preferred colour scheme is fixed when the browser engine starts: the
// scheme this process started with (0 automatic, 1 light, 2 dark), recorded by
// StartupBrowserArguments.
int StartupWebContentScheme();
// Browser engine arguments that give the pages the scheme of this colour mode, System
// taking the desktop's preference read at start; given once, before the browser engine
// starts.
QStringList StartupBrowserArguments(int colorMode, DesktopScheme desktop = DesktopScheme::Unknown);
// The status text shown when the window, drawn dark or light, now differs from the scheme
// the pages started with, else empty.
QString PagesFollowAtNextStartText(bool dark);

// Tells when the desktop's colour preference may have changed: the portal's
// SettingChanged signal for the appearance color-scheme, or a new application palette.
class CDesktopSchemeWatcher : public QObject {
  Q_OBJECT
 public:
  explicit CDesktopSchemeWatcher(QObject* parent = nullptr);

 signals:
  void changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void OnPortalSettingChanged(const QString& group, const QString& key, const QDBusVariant&);
};

}  // namespace velquist
