#include "gui/ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "gui/text/qt_text.h"
#include "gui/ui/dialog_theme.h"
#include "gui/ui/dialog_units.h"
#include "ui/zoom_choices.h"

namespace velquist {
namespace {

const char* const kColorModes[] = {"Same as Windows", "Light", "Dark"};

}  // namespace

CSettingsDlg::CSettingsDlg(const SettingsValues& values, bool dark, QWidget* parent)
    : QDialog(parent),
      m_values(values),
      m_showSplash(new QCheckBox(QStringLiteral("Show the &splash screen at start-up"), this)),
      m_restoreLast(new QCheckBox(QStringLiteral("&Reopen the last screens at start-up"), this)),
      m_zoomLabel(new QLabel(QStringLiteral("Page &zoom:"), this)),
      m_zoom(new QComboBox(this)),
      m_colorModeLabel(new QLabel(QStringLiteral("Color &mode:"), this)),
      m_colorMode(new QComboBox(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Settings"));
  ApplyDialogTheme(*this, dark);
  setFont(DialogFont(parent ? parent : this));
  m_showSplash->setObjectName(QStringLiteral("showSplash"));
  m_restoreLast->setObjectName(QStringLiteral("restoreLast"));
  m_zoom->setObjectName(QStringLiteral("zoom"));
  m_colorMode->setObjectName(QStringLiteral("colorMode"));
  m_zoomLabel->setBuddy(m_zoom);
  m_colorModeLabel->setBuddy(m_colorMode);
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

  m_showSplash->setChecked(values.showSplash);
  m_restoreLast->setChecked(values.restoreLast);
  for (double factor : ZoomChoices()) m_zoom->addItem(ToQString(ZoomChoiceText(factor)));
  // A zoom from the zoom commands or the browser need not be in the list: the nearest entry.
  m_zoom->setCurrentIndex(static_cast<int>(NearestZoomChoice(values.zoom)));
  for (const char* mode : kColorModes) m_colorMode->addItem(QString::fromUtf8(mode));
  m_colorMode->setCurrentIndex(values.colorMode >= 0 && values.colorMode <= 2 ? values.colorMode
                                                                              : -1);
  LayOut();
  // The focus goes to the first control, as a dialog's default choice has it.
  m_showSplash->setFocus(Qt::OtherFocusReason);
}

void CSettingsDlg::accept() {
  m_values.showSplash = m_showSplash->isChecked();
  m_values.restoreLast = m_restoreLast->isChecked();
  const int zoom = m_zoom->currentIndex();
  if (zoom >= 0 && zoom < static_cast<int>(ZoomChoices().size())) {
    m_values.zoom = ZoomChoices()[static_cast<std::size_t>(zoom)];
  }
  const int mode = m_colorMode->currentIndex();
  if (mode >= 0 && mode <= 2) m_values.colorMode = mode;
  QDialog::accept();
}

void CSettingsDlg::changeEvent(QEvent* event) {
  // A new font (another screen's DPI, a desktop font change) changes the dialog units.
  if (event->type() == QEvent::FontChange) LayOut();
  QDialog::changeEvent(event);
}

// The controls where the dialog's design puts them, in dialog units of its font. Qt's
// controls may need more height than the design's; they keep their top and grow down,
// and a label sits centred on the list it names.
void CSettingsDlg::LayOut() {
  const DialogUnits du(*this);
  setFixedSize(du.Size(232, 120));
  PlaceControl(*m_showSplash, du.Rect(10, 12, 212, 10));
  PlaceControl(*m_restoreLast, du.Rect(10, 27, 212, 10));
  auto placeList = [&](QLabel* label, QComboBox* list, QRect labelRect, QRect listRect) {
    listRect.setHeight(qMax(du.Y(12), list->sizeHint().height()));
    list->setGeometry(listRect);
    PlaceControl(*label, labelRect);
    label->move(label->x(), listRect.center().y() - label->height() / 2);
  };
  placeList(m_zoomLabel, m_zoom, du.Rect(10, 48, 50, 9), du.Rect(62, 46, 60, 150));
  placeList(m_colorModeLabel, m_colorMode, du.Rect(10, 66, 50, 9), du.Rect(62, 64, 110, 60));
  PlaceControl(*m_ok, du.Rect(114, 98, 52, 15));
  PlaceControl(*m_cancel, du.Rect(170, 98, 52, 15));
}

}  // namespace velquist
