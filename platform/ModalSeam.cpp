#include "ModalSeam.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<int(QDialog&)>& ModalHook() {
  static std::function<int(QDialog&)> hook;
  return hook;
}
std::function<void(const QString&)>& ShellHook() {
  static std::function<void(const QString&)> hook;
  return hook;
}
ChooserHook& Chooser() {
  static ChooserHook hook;
  return hook;
}
}  // namespace

void SetChooserHook(ChooserHook hook) {
  Chooser() = std::move(hook);
}

std::optional<QStringList> ChooserAnswer(ChooserKind kind, const QString& title) {
  if (!Chooser()) return std::nullopt;
  return Chooser()(kind, title);
}

int ExecModal(QDialog& dialog) {
  return ModalHook() ? ModalHook()(dialog) : dialog.exec();
}

void SetModalHook(std::function<int(QDialog&)> hook) {
  ModalHook() = std::move(hook);
}

void ShellOpenTarget(const QString& target) {
  if (ShellHook()) {
    ShellHook()(target);
    return;
  }
  const QUrl url =
      target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
  QDesktopServices::openUrl(url);
}

void SetShellHook(std::function<void(const QString&)> hook) {
  ShellHook() = std::move(hook);
}
