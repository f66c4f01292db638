// Runs the product's own modal dialogs, through one seam: the tests answer them instead of a
// person, and the shell's "open" likewise.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// exec()s the dialog, or hands it to the test hook, which answers it and returns its result.
int ExecModal(QDialog& dialog);
void SetModalHook(std::function<int(QDialog& dialog)> hook);

// The choosers: files ("Select PDF File") or a folder, as the test hook answers them.
enum class ChooserKind { PdfFiles, Folder };
using ChooserHook = std::function<QStringList(ChooserKind kind, const QString& title)>;
void SetChooserHook(ChooserHook hook);
// The hook's answer, or std::nullopt when no hook is set.
std::optional<QStringList> ChooserAnswer(ChooserKind kind, const QString& title);

// Opens a folder, file or web address with the desktop's default application; never a shell
// command line. Fire and forget.
void ShellOpenTarget(const QString& target);
void SetShellHook(std::function<void(const QString& target)> hook);
