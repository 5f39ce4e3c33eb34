#include "gui/ui/about_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/files.h"
#include "gui/text/qt_text.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/dialog_units.h"
#include "gui/web/external_opener.h"
#include "site/url.h"
#include "site_constants.h"
#include "ui/picture_layout.h"

namespace velquist {
namespace {

// The logo's box in dialog units: 7, 7 to 247, 81.
constexpr int kLogoX = 7, kLogoY = 7, kLogoWidth = 240, kLogoHeight = 74;

void OpenSite() { OpenInDefaultBrowser(AddReferralTag(std::string(SiteOrigin) + "/")); }

}  // namespace

CAboutDlg::CAboutDlg(bool dark, QWidget* parent)
    : QDialog(parent),
      m_logoImage(QStringLiteral(":/images/about_logo.png")),
      m_logo(new QLabel(this)),
      m_version(new QLabel(this)),
      m_maker(new QLabel(QStringLiteral("Copyright \u00a9 Orvane Software"), this)),
      m_link(new QLabel(ToQString(SiteHost), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("About Velquist"));
  ApplyDialogTheme(*this, dark);
  setFont(DialogFont(parent ? parent : this));
  m_logo->setObjectName(QStringLiteral("logo"));
  m_version->setObjectName(QStringLiteral("version"));
  m_link->setObjectName(QStringLiteral("siteLink"));
  m_version->setText(QStringLiteral("Velquist, Version %1").arg(ToQString(VersionString())));

  QFont linkFont = m_link->font();
  linkFont.setUnderline(true);
  m_link->setFont(linkFont);
  QPalette linkPalette = m_link->palette();
  linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
  m_link->setPalette(linkPalette);
  // The link and the logo take clicks: both open the site, and the dialog stays open.
  for (QLabel* label : {m_logo, m_link}) {
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
  }

  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  LayOut();
}

QRect CAboutDlg::LogoBox() const {
  return DialogUnits(*this).Rect(kLogoX, kLogoY, kLogoWidth, kLogoHeight);
}

void CAboutDlg::LayOut() {
  const DialogUnits du(*this);
  setFixedSize(du.Size(254, 136));
  PlaceControl(*m_version, du.Rect(7, 88, 240, 8));
  PlaceControl(*m_maker, du.Rect(7, 99, 240, 8));
  // The link is as wide as its text, so that only the text takes clicks.
  const QRect link = du.Rect(7, 115, 70, 8);
  PlaceControl(*m_link, QRect(link.topLeft(), QSize(m_link->sizeHint().width(), link.height())));
  PlaceControl(*m_ok, du.Rect(197, 112, 50, 14));
  FitLogo();
}

void CAboutDlg::FitLogo() {
  if (m_logoImage.isNull()) return;
  const QRect box = LogoBox();
  const PixelRect fit = FitPicture({box.x(), box.y(), box.width(), box.height()},
                                   {m_logoImage.width(), m_logoImage.height()});
  if (fit.width <= 0 || fit.height <= 0) return;
  // Drawn at the screen's pixel ratio, so that the logo stays sharp on a scaled display.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels(qRound(fit.width * ratio), qRound(fit.height * ratio));
  QImage scaled = pixels == m_logoImage.size()
                      ? m_logoImage
                      : m_logoImage.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  scaled.setDevicePixelRatio(ratio);
  m_logo->setPixmap(QPixmap::fromImage(scaled));
  m_logo->setGeometry(fit.x, fit.y, fit.width, fit.height);
  m_logo->update();
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == m_logo || watched == m_link) && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint())) {
      OpenSite();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CAboutDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_watching && windowHandle()) {
    m_watching = true;
    // Laid out again once the move to the other screen is complete, as a posted message
    // would: the screen change itself comes before the window has its new size.
    connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* screen) {
      WatchScreen(screen);
      QTimer::singleShot(0, this, &CAboutDlg::LayOut);
    });
    WatchScreen(windowHandle()->screen());
  }
  LayOut();
}

void CAboutDlg::WatchScreen(QScreen* screen) {
  disconnect(m_screenDpi);
  if (!screen) return;
  m_screenDpi = connect(screen, &QScreen::logicalDotsPerInchChanged, this,
                        [this] { QTimer::singleShot(0, this, &CAboutDlg::LayOut); });
}

void CAboutDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) LayOut();
  QDialog::changeEvent(event);
}

void ShowAboutDialog(QWidget* parent, bool dark) {
  CAboutDlg dialog(dark, parent);
  dialog.exec();
}

}  // namespace velquist
