// The two-tab strip above the pages: Stocks and ETFs, drawn in the chrome palette with
// an accent underline under the selected tab.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace velquist {

class CTabStrip : public QWidget {
  Q_OBJECT
 public:
  explicit CTabStrip(QWidget* parent = nullptr);

  void SetLabels(const QStringList& labels);
  QStringList Labels() const { return m_labels; }
  // Selection is set by the owner; a click only asks for it through commandInvoked.
  void SetSelected(int index);
  int Selected() const { return m_selected; }
  int Hovered() const { return m_hovered; }
  // Stores the mode and DPI, rebuilds the fonts and the tab rectangles, repaints.
  void SetTheme(bool dark, int dpi);
  bool IsDark() const { return m_dark; }
  int Dpi() const { return m_dpi; }

  // The tab rectangles in widget coordinates, in label order.
  const std::vector<QRect>& TabRects() const;
  int TabAt(const QPoint& pos) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // The command of the clicked tab: 32783 + its index.
  void commandInvoked(int command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetHovered(int index);
  void Relayout() const;

  QStringList m_labels;
  int m_selected = 0;
  int m_hovered = -1;
  bool m_dark = false;
  int m_dpi = 96;
  QFont m_regular;
  QFont m_semiBold;
  mutable std::vector<QRect> m_rects;
};

}  // namespace velquist
