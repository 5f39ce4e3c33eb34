// The About dialog: the logo, the program's name and version, its maker and a link to the
// site. The logo is fitted into its box without distortion and fitted again whenever the
// dialog moves to a screen of another DPI or pixel ratio.
#pragma once

#include <QDialog>
#include <QImage>
#include <QMetaObject>

class QLabel;
class QPushButton;
class QScreen;

namespace velquist {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(bool dark, QWidget* parent = nullptr);

  QLabel& LogoLabel() const { return *m_logo; }
  QLabel& VersionLabel() const { return *m_version; }
  QLabel& LinkLabel() const { return *m_link; }
  QPushButton& OkButton() const { return *m_ok; }
  // The logo's box, in the dialog's pixels.
  QRect LogoBox() const;

 public slots:
  // Lays the dialog out for the screen it is on now and fits the logo again.
  void LayOut();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void WatchScreen(QScreen* screen);
  void FitLogo();

  QImage m_logoImage;
  QLabel* m_logo;
  QLabel* m_version;
  QLabel* m_maker;
  QLabel* m_link;
  QPushButton* m_ok;
  QMetaObject::Connection m_screenDpi;
  bool m_watching = false;
};

// Runs the About dialog over parent, in the window's colour mode.
void ShowAboutDialog(QWidget* parent, bool dark);

}  // namespace velquist
