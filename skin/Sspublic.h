// Shared pieces of the skinned controls: colours, mouse notifications, window shapes.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <functional>

// A colour as red + green * 256 + blue * 65536.
using TColor = uint32_t;
inline constexpr TColor clFuchsia = 0xFF00FF;    // the transparent colour of every skin
inline constexpr TColor clBtnFace = 0x8000000F;  // a system colour: matches no pixel

// Mouse notifications: the sender, the button (or buttons held, for moves) and the point.
using TMouseEvent = std::function<void(QWidget* sender, Qt::MouseButton button, int x, int y)>;
using TMouseMoveEvent =
    std::function<void(QWidget* sender, Qt::MouseButtons buttons, int x, int y)>;
using TNotifyEvent = std::function<void(QWidget* sender)>;

// a * b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int MulDiv(int a, int b, int c);

// The union of the bitmap's runs of pixels that are not exactly `transparent`, row by row,
// read from the bitmap's 24-bit form.
QRegion BitmapRegion(const QImage& bitmap, TColor transparent);

// Shapes the window to the bitmap's opaque pixels, and repaints it.
void SetBitmapWindow(QWidget* window, const QImage& bitmap, TColor transparent);
// Removes any shape from the window, and repaints it.
void ResetWindow(QWidget* window);

// Paints the control's parent background into `painter` (nothing without a parent).
void DoTrans(QPainter* painter, QWidget* control);

void PlaceControl(QWidget* control, QPoint topLeft);
void PlaceControl(QWidget* control, QRect bounds);
