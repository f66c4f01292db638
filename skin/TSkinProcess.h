// A progress bar drawn from bitmaps (a slider when it has a thumb). The fill and the thumb
// are siblings on the bar's parent; their positions are the only state that holds the value.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "SSButton.h"

// A bitmap stretched to the widget's size (the bar's fill).
class TStretchImage : public QWidget {
  Q_OBJECT

 public:
  explicit TStretchImage(QWidget* parent = nullptr);
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return FPicture; }
  TMouseEvent OnMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage FPicture;
};

class TSkinProcess : public QWidget {
  Q_OBJECT

 public:
  explicit TSkinProcess(QWidget* parent = nullptr);

  // The empty track, when the bar draws one itself.
  void SetPicture(const QImage& picture);

  // The fill from a BMP file; throws std::runtime_error when it cannot be read.
  void SetImage2(const QString& path);
  // The thumb from a BMP file (three strips); requires the fill; throws like SetImage2.
  void SetImage3(const QString& path);
  // Centres fill and thumb on a line `offset` pixels below the bar's top (scaled).
  void SetBaseLine(int offset);
  // The value range: from `start` pixels right of the bar's left, `length` pixels long.
  void SetExtRange(int start, int length);
  // Fixes the fill at `start`, `width`: from then on it no longer shows the value.
  void SetImage2Range(int start, int width);
  void Setprocess(int percent);
  int Getprocess() const;
  void SetFreeMode(bool free) { FFreeMode = free; }
  void SetMoveChangeNotify(bool notify) { FMoveChangeNotify = notify; }
  // A proposed thumb left, clamped to where the thumb may go.
  int ControlImage3Left(int left) const;

  void ChangeScale(int m, int d);
  void ChangeControlScale(QWidget* control) const;

  TStretchImage* Image2() const { return FImage2; }
  TssSkinButton* Image3() const { return FImage3; }

  std::function<void(int value)> OnProcessChange;
  TMouseEvent OnMouseDown;

  // Mouse handling of thumb, fill and track, in the bar's parent's or the control's own
  // coordinates as the notifications give them.
  void Image3OnMouseDown(QWidget* sender, Qt::MouseButton button, int x, int y);
  void Image3OnMouseMove(QWidget* sender, Qt::MouseButtons buttons, int x, int y);
  void Image3OnMouseUp(QWidget* sender, Qt::MouseButton button, int x, int y);
  void MyOnMouseDown(QWidget* sender, Qt::MouseButton button, int x, int y);
  void Image2OnMouseDown(QWidget* sender, Qt::MouseButton button, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  static QImage LoadImageA(const QString& path);
  void FollowThumb();  // the fill ends under the thumb's centre
  void Notify();

  TStretchImage* FImage2 = nullptr;
  TssSkinButton* FImage3 = nullptr;
  bool FDragging = false;
  int FDragX = 0;
  int FBaseLine = 0;
  int FExtStart = 0;
  int FExtLength = 0;
  bool FFreeMode = false;
  bool FImage2RangeSet = false;
  bool FMoveChangeNotify = false;
  TMouseEvent FOldOnMouseDown;
  int FScaleM = 1, FScaleD = 1;
  QImage FPicture;
};
