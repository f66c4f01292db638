// The skinned window background: paints a bitmap, shapes its form to the bitmap's opaque
// pixels, sizes the form to it, removes the frame and moves the window when dragged.
#pragma once

#include <QImage>
#include <QWidget>

#include "Sspublic.h"

class TssSkinForm : public QWidget {
  Q_OBJECT

 public:
  // `owner` is the form: the control sits at its top left, under every other control.
  explicit TssSkinForm(QWidget* owner);

  const QImage& Glyph() const { return FGlyph; }
  void SetPicture(const QImage& glyph);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetColor(TColor color);

  // Scales position, size and glyph from the form's design resolution: M / D.
  void ChangeScale(int m, int d);

  TNotifyEvent OnRegionChanged;
  TMouseEvent OnMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void PictureChanged();
  bool ScalePicture();
  void ReSetWndRgn();

  QWidget* FForm = nullptr;
  QImage FGlyph;
  TColor FTransparentColor = clFuchsia;
  int FScaleM = 0, FScaleD = 0;
  bool FScaling = false;
};
