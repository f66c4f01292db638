// Skinned buttons: a bitmap per state, their own click logic and an optional window shape.
#pragma once

#include <QAction>
#include <QImage>
#include <QWidget>
#include <optional>

#include "Sspublic.h"

// The button base: hover, pressed and disabled states and the click rules; painting is left to
// the four paint operations.
class TssCustomButton : public QWidget {
  Q_OBJECT

 public:
  explicit TssCustomButton(QWidget* parent = nullptr);

  bool Mask() const { return FMask; }
  void SetMask(bool mask);
  TColor MaskColor() const { return FMaskColor; }
  void SetMaskColor(TColor color);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  QAction* Action() const { return FAction; }
  void SetAction(QAction* action);

  bool MouseOn() const { return FMouseOn; }
  bool MouseIsDown() const { return FMouseDown; }

  // Acts only inside a real left-button release over the button: a call from code does
  // nothing. Sets the form's modal result, then runs OnClick or the action.
  void Click();

  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // The mouse handling, also for buttons that pass the mouse on to others.
  virtual void MouseDownAt(Qt::MouseButton button, int x, int y);
  virtual void MouseUpAt(Qt::MouseButton button, int x, int y);
  virtual void MouseMoveAt(Qt::MouseButtons buttons, int x, int y);
  virtual void MouseEntered();
  virtual void MouseLeft();

 protected:
  virtual void MaskChanged() = 0;
  virtual void PaintButtonNormal(QImage& bitmap) = 0;
  virtual void PaintButtonMouseOn(QImage& bitmap) = 0;
  virtual void PaintButtonMouseDown(QImage& bitmap) = 0;
  virtual void PaintButtonDisabled(QImage& bitmap) = 0;
  virtual void AdjustSize() {}

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

  bool FMask = false;
  TColor FMaskColor = clFuchsia;

 private:
  int FModalResult = 0;
  bool FMouseOn = false;
  bool FMouseDown = false;
  bool FClicking = false;
  QAction* FAction = nullptr;
};

// The button of every window: its skin holds DivNum strips side by side, one per state.
class TssSkinButton : public TssCustomButton {
  Q_OBJECT

 public:
  explicit TssSkinButton(QWidget* parent = nullptr);

  // The skin as set; std::nullopt while none was set.
  const std::optional<QImage>& Skin() const { return FSkin; }
  void SetSkin(const QImage& skin);
  int DivNum() const { return FDivNum; }
  void SetDivNum(int count);  // 1..4; other values are ignored
  void SetName(const QString& name);
  const std::optional<QImage>& ScaledSkin() const { return FScaledSkin; }

  // Scales position, size and skin from the form's design resolution: M / D, always from the
  // skin as set.
  void ChangeScale(int m, int d);

 protected:
  void MaskChanged() override;
  void PaintButtonNormal(QImage& bitmap) override;
  void PaintButtonMouseOn(QImage& bitmap) override;
  void PaintButtonMouseDown(QImage& bitmap) override;
  void PaintButtonDisabled(QImage& bitmap) override;
  void AdjustSize() override;

 private:
  void SkinChanged();
  bool ScaleSkin();
  QImage Strip(int index) const;
  void PaintStrip(QImage& bitmap, int index, int needed);

  std::optional<QImage> FSkin;
  std::optional<QImage> FScaledSkin;
  int FDivNum = 3;
  int FScaleM = 0, FScaleD = 0;
};

// A skinned button that passes its mouse hover on to another one.
class TssLinkButton : public TssSkinButton {
  Q_OBJECT

 public:
  explicit TssLinkButton(QWidget* parent = nullptr);

  TssLinkButton* ButtonToLink() const { return FButtonToLink; }
  // Refuses (with a message) a button that links back to this one.
  void SetLinkButton(TssLinkButton* button);

  void MouseMoveAt(Qt::MouseButtons buttons, int x, int y) override;
  void MouseEntered() override;
  void MouseLeft() override;

 private:
  TssLinkButton* FButtonToLink = nullptr;
};

// A masked three-strip button at (x, y) with the window picture `name` (":/forms/<name>.bmp").
TssSkinButton* NewSkinButton(QWidget* parent, const char* name, int x, int y);
