// The strip under the pages: the status text (shortened in the middle when it does not
// fit), the zoom text and a link to the site's home page.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace velquist {

class CStatusStrip : public QWidget {
  Q_OBJECT
 public:
  explicit CStatusStrip(QWidget* parent = nullptr);

  // The main text; every change repaints.
  void SetText(const QString& text);
  QString Text() const { return m_text; }
  void SetZoomText(const QString& text);
  QString ZoomText() const { return m_zoomText; }
  void SetTheme(bool dark, int dpi);
  bool IsDark() const { return m_dark; }
  int Dpi() const { return m_dpi; }

  // The link's rectangle as last drawn, the main text as last drawn (with its ellipsis)
  // and the space it had.
  QRect LinkRect() const { return m_linkRect; }
  QString ShownText() const { return m_shownText; }
  QRect TextRect() const { return m_textRect; }
  QRect ZoomRect() const { return m_zoomRect; }
  bool IsLinkHovered() const { return m_linkHovered; }

  // The site's home page with the referral tag: what a click on the link opens.
  static std::string LinkTarget();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetLinkHovered(bool hovered);

  QString m_text;
  QString m_zoomText;
  QString m_shownText;
  bool m_dark = false;
  int m_dpi = 96;
  QFont m_font;
  QFont m_linkFont;
  QRect m_linkRect;
  QRect m_textRect;
  QRect m_zoomRect;
  bool m_linkHovered = false;
};

}  // namespace velquist
