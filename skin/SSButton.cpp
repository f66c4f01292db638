#include "SSButton.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPainter>

#include "MessageBox.h"

// ---- TssCustomButton

TssCustomButton::TssCustomButton(QWidget* parent) : QWidget(parent) {
  // Paint covers the whole button: no background is erased first, so nothing flickers.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TssCustomButton::SetMask(bool mask) {
  FMask = mask;
  MaskChanged();
}

void TssCustomButton::SetMaskColor(TColor color) {
  FMaskColor = color;
  MaskChanged();
}

void TssCustomButton::SetAction(QAction* action) {
  if (FAction) disconnect(FAction, nullptr, this, nullptr);
  FAction = action;
  if (!action) return;
  setEnabled(action->isEnabled());
  connect(action, &QAction::changed, this, [this] { setEnabled(FAction->isEnabled()); });
}

void TssCustomButton::Click() {
  if (!FClicking || !isEnabled()) return;
  QDialog* dialog = parentWidget() ? qobject_cast<QDialog*>(window()) : nullptr;
  if (dialog) dialog->setResult(FModalResult);
  if (OnClick)
    OnClick(this);
  else if (FAction)
    FAction->trigger();
  // A modal result other than 0 closes the dialog, unless the handler took it back.
  if (dialog && dialog->isVisible() && dialog->result() != 0) dialog->done(dialog->result());
}

void TssCustomButton::MouseDownAt(Qt::MouseButton button, int x, int y) {
  if (button == Qt::LeftButton) {
    FMouseDown = true;
    update();
  }
  if (OnMouseDown) OnMouseDown(this, button, x, y);
}

void TssCustomButton::MouseUpAt(Qt::MouseButton button, int x, int y) {
  if (button == Qt::LeftButton && FMouseDown) {
    FClicking = true;
    FMouseDown = false;
    update();
    Click();
    FClicking = false;
  }
  if (OnMouseUp) OnMouseUp(this, button, x, y);
}

void TssCustomButton::MouseMoveAt(Qt::MouseButtons buttons, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, buttons, x, y);
  // Dragged off: neither hover nor press any more, so the release does not click.
  if (x < 0 || y < 0 || x > width() || y > height()) {
    FMouseOn = false;
    FMouseDown = false;
    update();
  }
}

void TssCustomButton::MouseEntered() {
  FMouseOn = true;
  update();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TssCustomButton::MouseLeft() {
  FMouseOn = false;
  update();
  if (OnMouseExit) OnMouseExit(this);
}

void TssCustomButton::paintEvent(QPaintEvent*) {
  AdjustSize();
  QImage bitmap(size(), QImage::Format_RGB32);
  bitmap.fill(palette().window().color());
  try {
    if (!isEnabled())
      PaintButtonDisabled(bitmap);
    else if (FMouseDown)
      PaintButtonMouseDown(bitmap);
    else if (FMouseOn)
      PaintButtonMouseOn(bitmap);
    else
      PaintButtonNormal(bitmap);
  } catch (...) {
    // Whatever the bitmap holds is shown.
  }
  QPainter(this).drawImage(0, 0, bitmap);
}

void TssCustomButton::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseDownAt(event->button(), at.x(), at.y());
}

void TssCustomButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseUpAt(event->button(), at.x(), at.y());
}

void TssCustomButton::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseMoveAt(event->buttons(), at.x(), at.y());
}

void TssCustomButton::enterEvent(QEnterEvent*) {
  MouseEntered();
}

void TssCustomButton::leaveEvent(QEvent*) {
  MouseLeft();
}

void TssCustomButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

// ---- TssSkinButton

TssSkinButton::TssSkinButton(QWidget* parent) : TssCustomButton(parent) {
  resize(50, 30);
}

void TssSkinButton::SetSkin(const QImage& skin) {
  FSkin = skin;
  SkinChanged();
}

void TssSkinButton::SkinChanged() {
  ScaleSkin();
  AdjustSize();
  MaskChanged();
  update();
}

void TssSkinButton::SetDivNum(int count) {
  if (count < 1 || count > 4) return;
  FDivNum = count;
  AdjustSize();
  MaskChanged();
  update();
}

void TssSkinButton::SetName(const QString& name) {
  setObjectName(name);
  update();  // the placeholder shows the name
}

void TssSkinButton::ChangeScale(int m, int d) {
  setGeometry(MulDiv(x(), m, d), MulDiv(y(), m, d), MulDiv(width(), m, d), MulDiv(height(), m, d));
  FScaleM = m;
  FScaleD = d;
  if (ScaleSkin()) {
    AdjustSize();
    MaskChanged();
    update();
  }
}

bool TssSkinButton::ScaleSkin() {
  if (!FSkin || FSkin->isNull() || FScaleM == FScaleD) {
    FScaledSkin = FSkin;
    return false;
  }
  const int strip = MulDiv(FSkin->width() / FDivNum, FScaleM, FScaleD);
  const int height = MulDiv(FSkin->height(), FScaleM, FScaleD);
  FScaledSkin =
      FSkin->scaled(strip * FDivNum, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return true;
}

void TssSkinButton::AdjustSize() {
  if (FScaledSkin && !FScaledSkin->isNull())
    resize(FScaledSkin->width() / FDivNum, FScaledSkin->height());
  else
    resize(50, 30);
}

QImage TssSkinButton::Strip(int index) const {
  const int w = FScaledSkin->width() / FDivNum;
  return FScaledSkin->copy(index * w, 0, w, FScaledSkin->height());
}

void TssSkinButton::MaskChanged() {
  if (FMask && FScaledSkin && !FScaledSkin->isNull()) {
    // The shape always comes from the normal strip.
    QImage bitmap(size(), QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    QPainter(&bitmap).drawImage(0, 0, Strip(0));
    SetBitmapWindow(this, bitmap, FMaskColor);
  } else {
    ResetWindow(this);
  }
}

// Strip `index` when the skin has at least `needed` strips, else the normal look.
void TssSkinButton::PaintStrip(QImage& bitmap, int index, int needed) {
  if (FDivNum < 1) return;
  QPainter painter(&bitmap);
  if (!FScaledSkin) {
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, width(), 20), Qt::AlignHCenter | Qt::AlignVCenter, objectName());
  } else if (FScaledSkin->isNull()) {
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  } else {
    painter.drawImage(0, 0, Strip(FDivNum >= needed ? index : 0));
  }
}

void TssSkinButton::PaintButtonNormal(QImage& bitmap) {
  PaintStrip(bitmap, 0, 1);
}
void TssSkinButton::PaintButtonMouseOn(QImage& bitmap) {
  PaintStrip(bitmap, 1, 2);
}
void TssSkinButton::PaintButtonMouseDown(QImage& bitmap) {
  PaintStrip(bitmap, 2, 3);
}
void TssSkinButton::PaintButtonDisabled(QImage& bitmap) {
  PaintStrip(bitmap, 3, 4);
}

TssSkinButton* NewSkinButton(QWidget* parent, const char* name, int x, int y) {
  auto* button = new TssSkinButton(parent);
  button->move(x, y);
  button->SetSkin(QImage(QStringLiteral(":/forms/%1.bmp").arg(QLatin1String(name))));
  button->SetMask(true);
  return button;
}

// ---- TssLinkButton

TssLinkButton::TssLinkButton(QWidget* parent) : TssSkinButton(parent) {}

void TssLinkButton::SetLinkButton(TssLinkButton* button) {
  if (button && button->FButtonToLink == this) {
    ShowMessageBox(this, QMessageBox::Critical, QStringLiteral("Error"),
                   QString::fromUtf8("ButtonToLink 属性不能循环指定！ "), QMessageBox::Ok);
    FButtonToLink = nullptr;
    return;
  }
  FButtonToLink = button;
}

void TssLinkButton::MouseMoveAt(Qt::MouseButtons buttons, int x, int y) {
  TssSkinButton::MouseMoveAt(buttons, x, y);
  if (FButtonToLink)
    FButtonToLink->MouseMoveAt(buttons, FButtonToLink->x() + 10, FButtonToLink->y() + 10);
}

void TssLinkButton::MouseEntered() {
  TssSkinButton::MouseEntered();
  if (FButtonToLink) FButtonToLink->MouseEntered();
}

void TssLinkButton::MouseLeft() {
  TssSkinButton::MouseLeft();
  if (FButtonToLink) FButtonToLink->MouseLeft();
}
