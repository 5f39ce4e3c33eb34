// The Settings dialog: whether the splash shows and the last screens reopen at start-up,
// the page zoom and the colour mode. It changes nothing itself; the caller applies the
// values after OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace velquist {

struct SettingsValues {
  bool showSplash = true;
  bool restoreLast = true;
  double zoom = 1.0;
  int colorMode = 0;  // 0 same as Windows (the desktop), 1 light, 2 dark
  friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

class CSettingsDlg : public QDialog {
  Q_OBJECT
 public:
  CSettingsDlg(const SettingsValues& values, bool dark, QWidget* parent = nullptr);

  // The values the dialog was made with, after OK those chosen in it.
  const SettingsValues& Values() const { return m_values; }

  QCheckBox& ShowSplashBox() const { return *m_showSplash; }
  QCheckBox& RestoreLastBox() const { return *m_restoreLast; }
  QComboBox& ZoomList() const { return *m_zoom; }
  QComboBox& ColorModeList() const { return *m_colorMode; }
  QPushButton& OkButton() const { return *m_ok; }
  QPushButton& CancelButton() const { return *m_cancel; }

  void accept() override;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void LayOut();

  SettingsValues m_values;
  QCheckBox* m_showSplash;
  QCheckBox* m_restoreLast;
  QLabel* m_zoomLabel;
  QComboBox* m_zoom;
  QLabel* m_colorModeLabel;
  QComboBox* m_colorMode;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace velquist
