#include "SSForm.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

TssSkinForm::TssSkinForm(QWidget* owner) : QWidget(owner) {
  if (!owner || !owner->isWindow()) return;
  FForm = owner;
  FForm->setWindowFlag(Qt::FramelessWindowHint, true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setGeometry(0, 0, 200, 100);
  lower();
}

void TssSkinForm::SetPicture(const QImage& glyph) {
  FGlyph = glyph;
  PictureChanged();
}

void TssSkinForm::SetColor(TColor color) {
  FTransparentColor = color;
  ReSetWndRgn();
  update();
}

void TssSkinForm::PictureChanged() {
  if (FScaling) return;
  ScalePicture();
  ReSetWndRgn();
  update();
}

bool TssSkinForm::ScalePicture() {
  if (FGlyph.isNull() || FScaleM == FScaleD) return false;
  FScaling = true;
  // The glyph itself is replaced: a later factor applies to the scaled picture.
  FGlyph = FGlyph.scaled(MulDiv(FGlyph.width(), FScaleM, FScaleD),
                         MulDiv(FGlyph.height(), FScaleM, FScaleD), Qt::IgnoreAspectRatio,
                         Qt::FastTransformation);
  FScaling = false;
  return true;
}

void TssSkinForm::ChangeScale(int m, int d) {
  setGeometry(MulDiv(x(), m, d), MulDiv(y(), m, d), MulDiv(width(), m, d), MulDiv(height(), m, d));
  FScaleM = m;
  FScaleD = d;
  if (ScalePicture()) {
    ReSetWndRgn();
    update();
  }
}

void TssSkinForm::ReSetWndRgn() {
  if (FGlyph.isNull() || !FForm) return;
  ResetWindow(FForm);
  SetBitmapWindow(FForm, FGlyph, FTransparentColor);
  setGeometry(0, 0, FGlyph.width(), FGlyph.height());
  FForm->resize(width(), height());
  if (OnRegionChanged) OnRegionChanged(this);
}

void TssSkinForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!FGlyph.isNull()) {
    painter.drawImage(0, 0, FGlyph);
  } else {
    painter.fillRect(rect(), palette().window());
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TssSkinForm::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown)
    OnMouseDown(this, event->button(), event->position().toPoint().x(),
                event->position().toPoint().y());
  // Any press on the background moves the window with the mouse.
  if (FForm && FForm->windowHandle()) FForm->windowHandle()->startSystemMove();
}
