#include "MessageBox.h"

#include <QGuiApplication>

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
  if (Hook()) return Hook()(parent, icon, caption, text, buttons);
  QMessageBox box(icon, caption, text, buttons, parent);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxHook(MessageBoxHook hook) {
  Hook() = std::move(hook);
}

void ShowException(QWidget* parent, const QString& message) {
  ShowMessageBox(parent, QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                 QMessageBox::Ok);
}
