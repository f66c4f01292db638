// Message boxes of the product, through one seam: the tests answer them instead of a person.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

using MessageBoxHook = std::function<QMessageBox::StandardButton(
    QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
    QMessageBox::StandardButtons buttons)>;

// Shows a modal message box on the GUI thread and returns the button pressed.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons);

// While set, ShowMessageBox calls the hook instead of showing anything (tests).
void SetMessageBoxHook(MessageBoxHook hook);

// The application's display of an error that ended an operation: one critical box with the
// message, captioned with the application's title.
void ShowException(QWidget* parent, const QString& message);
