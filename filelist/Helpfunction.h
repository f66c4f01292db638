// Thin wrappers around the desktop: choosing PDF files or a folder, finding the documents
// folder, opening a file, folder or web address. The choosers go through the test seam.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

// The folder chooser (file-system folders only); false when the user cancels, `folder` then
// unchanged.
bool BrowseForFolder(QWidget* owner, const QString& title, QString& folder);
// The user's documents folder; false when the desktop has none.
bool GetDocumentsFolder(QString& folder);
// Opens `target` with the desktop's default application. Fire and forget.
void ShellOpen(QWidget* owner, const QString& target);
// The PDF chooser ("Select PDF File", several files): the chosen paths, none on cancel.
QStringList ChoosePdfFiles(QWidget* owner);
