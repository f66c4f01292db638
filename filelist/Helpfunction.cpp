#include "Helpfunction.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "ModalSeam.h"

bool BrowseForFolder(QWidget* owner, const QString& title, QString& folder) {
  const std::optional<QStringList> answer = ChooserAnswer(ChooserKind::Folder, title);
  const QStringList chosen =
      answer ? *answer
             : QStringList{QFileDialog::getExistingDirectory(owner, title, QDir::homePath())};
  if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
  folder = chosen.first();
  return true;
}

bool GetDocumentsFolder(QString& folder) {
  const QString found = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (found.isEmpty()) return false;
  folder = found;
  return true;
}

void ShellOpen(QWidget*, const QString& target) {
  ShellOpenTarget(target);
}

QStringList ChoosePdfFiles(QWidget* owner) {
  const QString title = QStringLiteral("Select PDF File");
  if (auto answer = ChooserAnswer(ChooserKind::PdfFiles, title)) return *answer;
  QFileDialog dialog(owner, title);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  // ".pdf" in any letter case.
  dialog.setNameFilter(
      QStringLiteral("Text files (*.pdf *.PDF *.Pdf *.pDf *.pdF *.PDf *.PdF *.pDF)"));
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}
