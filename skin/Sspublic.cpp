#include "Sspublic.h"

#include <QPainter>
#include <cmath>

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  return static_cast<int>(std::llround(static_cast<double>(a) * b / c));
}

QRegion BitmapRegion(const QImage& bitmap, TColor transparent) {
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB888);
  // Runs arrive row by row, left to right, without overlap: the banded order a region is
  // built from at once.
  QList<QRect> runs;
  for (int y = 0; y < rgb.height(); ++y) {
    const uchar* row = rgb.constScanLine(y);
    bool inRun = false;
    int start = 0, end = 0;
    for (int x = 0; x < rgb.width(); ++x) {
      const uchar* p = row + 3 * x;  // red, green, blue
      const bool clear = (p[0] + p[1] * 256u + p[2] * 65536u) == transparent;
      if (!clear) {
        if (!inRun)
          start = end = x;
        else
          ++end;
        inRun = true;
      }
      if (clear || x == rgb.width() - 1) {
        if (inRun) runs.append(QRect(start, y, end + 1 - start, 1));
        inRun = false;
      }
    }
  }
  QRegion region;
  region.setRects(runs.constData(), static_cast<int>(runs.size()));
  return region;
}

void SetBitmapWindow(QWidget* window, const QImage& bitmap, TColor transparent) {
  window->setMask(BitmapRegion(bitmap, transparent));
  window->repaint();
}

void ResetWindow(QWidget* window) {
  window->clearMask();
  window->repaint();
}

void DoTrans(QPainter* painter, QWidget* control) {
  QWidget* parent = control->parentWidget();
  if (!parent) return;
  painter->save();
  painter->translate(-control->pos());
  painter->setClipRect(parent->rect());
  parent->render(painter, QPoint(), QRegion(parent->rect()), QWidget::DrawWindowBackground);
  painter->restore();
}

void PlaceControl(QWidget* control, QPoint topLeft) {
  control->move(topLeft);
}

void PlaceControl(QWidget* control, QRect bounds) {
  control->setGeometry(bounds);
}
