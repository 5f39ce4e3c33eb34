// The toolbar: twelve buttons with a large icon and a label under it, drawn in the chrome
// palette. Disabled buttons show a grey, 40 % transparent copy of their icon. Button
// states come from the owner's enable rule and are only touched when they change.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace velquist {

class CChromeToolBar : public QWidget {
  Q_OBJECT
 public:
  explicit CChromeToolBar(QWidget* parent = nullptr);

  // Rebuilds icons, font and button sizes for a DPI.
  void SetImages(int dpi);
  void SetDark(bool dark);
  bool IsDark() const { return m_dark; }
  int Dpi() const { return m_dpi; }

  // The rule that enables a command; RefreshStates asks it for every button. The owner
  // calls RefreshStates whenever something the rule looks at changes; showing the
  // toolbar refreshes as well.
  void SetEnableRule(std::function<bool(int)> rule) { m_enableRule = std::move(rule); }
  void RefreshStates();

  bool HasButton(int command) const { return Find(command) >= 0; }
  // False when the state was already as asked (nothing is repainted).
  bool SetButtonEnabled(int command, bool enabled);
  bool IsButtonEnabled(int command) const;
  // Shown pressed, as while its drop-down menu is open.
  void SetButtonPressed(int command, bool pressed);
  bool IsButtonPressed(int command) const;
  // The button's rectangle in widget coordinates; empty when there is no such button.
  QRect ButtonRect(int command) const;
  QString ButtonLabel(int command) const;
  QString ButtonToolTip(int command) const;
  // The icon the button shows now (the normal or the disabled image), at device pixels.
  QImage ButtonImage(int command) const;
  QImage NormalIcon(int command) const;
  QImage DisabledIcon(int command) const;
  // Size of one icon in logical pixels.
  int IconSize() const { return m_iconSize; }
  // How many times a button's state was changed; tests use it to see that idle updates
  // leave unchanged buttons alone.
  int StateChanges() const { return m_stateChanges; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // The strip of icons in button order, and its grey copy; public for the tests.
  static QImage LoadIconStrip();
  static QImage DisabledStrip(const QImage& strip);

 signals:
  void commandInvoked(int command);
  // The status prompt of the button under the mouse; empty when the mouse left it.
  void promptChanged(const QString& prompt);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct Button {
    int command = 0;
    QString label;
    QString prompt;
    QString toolTip;
    bool separatorBefore = false;
    bool enabled = true;
    bool pressed = false;
    QImage normal;
    QImage disabled;
    QRect rect;
  };

  int Find(int command) const;
  int ButtonAt(const QPoint& pos) const;
  void Layout();
  void SetHovered(int index);

  std::vector<Button> m_buttons;
  std::function<bool(int)> m_enableRule;
  QFont m_font;
  bool m_dark = false;
  int m_dpi = 96;
  int m_iconSize = 32;
  QSize m_buttonSize;
  int m_hovered = -1;
  int m_mouseDown = -1;
  int m_stateChanges = 0;
};

}  // namespace velquist
