#include "TSkinProcess.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <stdexcept>

// ---- TStretchImage

TStretchImage::TStretchImage(QWidget* parent) : QWidget(parent) {}

void TStretchImage::SetPicture(const QImage& picture) {
  FPicture = picture;
  update();
}

void TStretchImage::paintEvent(QPaintEvent*) {
  if (!FPicture.isNull()) QPainter(this).drawImage(rect(), FPicture);
}

void TStretchImage::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (OnMouseDown) OnMouseDown(this, event->button(), at.x(), at.y());
}

// ---- TSkinProcess

TSkinProcess::TSkinProcess(QWidget* parent) : QWidget(parent) {}

void TSkinProcess::SetPicture(const QImage& picture) {
  FPicture = picture;
  update();
}

QImage TSkinProcess::LoadImageA(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error(
        QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()).toStdString());
  QImage image;
  if (!image.loadFromData(file.readAll(), "BMP"))
    throw std::runtime_error(
        QStringLiteral("\"%1\" is not a valid bitmap.").arg(path).toStdString());
  return image;
}

void TSkinProcess::SetImage2(const QString& path) {
  const QImage picture = LoadImageA(path);
  FImage2 = new TStretchImage(parentWidget());
  FImage2->setGeometry(0, 0, picture.width(), picture.height());  // its natural size
  FImage2->SetPicture(picture);
  FImage2->show();
  ChangeControlScale(FImage2);
}

void TSkinProcess::SetImage3(const QString& path) {
  const QImage skin = LoadImageA(path);
  FImage3 = new TssSkinButton(parentWidget());
  FImage3->SetSkin(skin);
  FImage3->SetMask(true);
  FImage3->OnMouseDown = [this](QWidget* s, Qt::MouseButton b, int x, int y) {
    Image3OnMouseDown(s, b, x, y);
  };
  FImage3->OnMouseMove = [this](QWidget* s, Qt::MouseButtons b, int x, int y) {
    Image3OnMouseMove(s, b, x, y);
  };
  FImage3->OnMouseUp = [this](QWidget* s, Qt::MouseButton b, int x, int y) {
    Image3OnMouseUp(s, b, x, y);
  };
  FImage3->ChangeScale(FScaleM, FScaleD);
  FImage3->show();
  FOldOnMouseDown = OnMouseDown;
  OnMouseDown = [this](QWidget* s, Qt::MouseButton b, int x, int y) { MyOnMouseDown(s, b, x, y); };
  FImage2->OnMouseDown = [this](QWidget* s, Qt::MouseButton b, int x, int y) {
    Image2OnMouseDown(s, b, x, y);
  };
}

void TSkinProcess::SetBaseLine(int offset) {
  FBaseLine = MulDiv(offset, FScaleM, FScaleD);
  if (FImage2) FImage2->move(FImage2->x(), y() + FBaseLine - FImage2->height() / 2);
  if (FImage3) FImage3->move(FImage3->x(), y() + FBaseLine - FImage3->height() / 2);
}

void TSkinProcess::SetExtRange(int start, int length) {
  FExtStart = start;
  FExtLength = length;
  FImage2->setGeometry(x() + start, FImage2->y(), 0, FImage2->height());
  if (FImage3) FImage3->move(FImage2->x() - FImage3->width() / 2, FImage3->y());
}

void TSkinProcess::SetImage2Range(int start, int width) {
  FImage2RangeSet = true;
  FImage2->setGeometry(x() + start, FImage2->y(), width, FImage2->height());
  if (FImage3) FImage3->move(ControlImage3Left(FImage3->x()), FImage3->y());
}

void TSkinProcess::Setprocess(int percent) {
  const double at = (percent * FExtLength) * 0.01;
  if (FImage3)
    FImage3->move(
        ControlImage3Left(static_cast<int>(at + (x() + FExtStart - FImage3->width() / 2))),
        FImage3->y());
  if (!FImage2RangeSet && FImage2) FImage2->resize(static_cast<int>(at), FImage2->height());
}

int TSkinProcess::Getprocess() const {
  if (!FImage3) return 0;
  const int centre = FImage3->x() + FImage3->width() / 2 - x() - FExtStart;
  return static_cast<int>(static_cast<double>(centre) / FExtLength * 100);
}

int TSkinProcess::ControlImage3Left(int left) const {
  const int half = FImage3 ? FImage3->width() / 2 : 0;
  int low, high;
  if (FImage2RangeSet && !FFreeMode) {
    low = FImage2->x() - half;
    high = FImage2->x() + FImage2->width() - half;
  } else {
    low = x() + FExtStart - half;
    high = x() + FExtStart + FExtLength - half;
  }
  return std::min(high, std::max(low, left));
}

void TSkinProcess::ChangeScale(int m, int d) {
  setGeometry(MulDiv(x(), m, d), MulDiv(y(), m, d), MulDiv(width(), m, d), MulDiv(height(), m, d));
  FScaleM = m;
  FScaleD = d;
}

void TSkinProcess::ChangeControlScale(QWidget* control) const {
  if (FScaleM == FScaleD) return;
  control->setGeometry(
      MulDiv(control->x(), FScaleM, FScaleD), MulDiv(control->y(), FScaleM, FScaleD),
      MulDiv(control->width(), FScaleM, FScaleD), MulDiv(control->height(), FScaleM, FScaleD));
}

void TSkinProcess::FollowThumb() {
  if (!FImage2RangeSet)
    FImage2->resize(FImage3->x() - FImage2->x() + FImage3->width() / 2, FImage2->height());
}

void TSkinProcess::Notify() {
  if (OnProcessChange) OnProcessChange(Getprocess());
}

void TSkinProcess::Image3OnMouseDown(QWidget*, Qt::MouseButton, int x, int) {
  FDragX = x;
  FDragging = true;
}

void TSkinProcess::Image3OnMouseMove(QWidget*, Qt::MouseButtons, int x, int) {
  if (!FDragging) return;
  FImage3->move(ControlImage3Left(FImage3->x() + x - FDragX), FImage3->y());
  FollowThumb();
  if (FMoveChangeNotify) Notify();
}

void TSkinProcess::Image3OnMouseUp(QWidget*, Qt::MouseButton, int, int) {
  FDragging = false;
  Notify();
}

void TSkinProcess::MyOnMouseDown(QWidget* sender, Qt::MouseButton button, int x, int y) {
  FImage3->move(ControlImage3Left(this->x() + x - FImage3->width() / 2), FImage3->y());
  FollowThumb();
  if (FOldOnMouseDown) FOldOnMouseDown(sender, button, x, y);
  Notify();
}

void TSkinProcess::Image2OnMouseDown(QWidget* sender, Qt::MouseButton button, int x, int y) {
  MyOnMouseDown(sender, button, FImage2->x() - this->x() + x, y);
}

void TSkinProcess::paintEvent(QPaintEvent*) {
  if (!FPicture.isNull()) QPainter(this).drawImage(0, 0, FPicture);
}

void TSkinProcess::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (OnMouseDown) OnMouseDown(this, event->button(), at.x(), at.y());
}
