#include "AddFileThread.h"

#include <QApplication>
#include <QFile>
#include <exception>

#include "AddFileTipMui_Unit1.h"
#include "MessageBox.h"
#include "Rastmond.h"

AddFileThread::AddFileThread(TAddFileTipForm* dialog) : FDialog(dialog) {}

void AddFileThread::SetFileList(const QStringList& paths, bool reportOpenFailures) {
  FPaths = paths;
  FReportOpenFailures = reportOpenFailures;
}

void AddFileThread::SetExistingItems(const QList<TItemInfo*>& items) {
  FExistingItems = items;
}

void AddFileThread::UpdateStatus() {
  const QString text = FStatusText;
  const bool done = FDone;
  Synchronize([this, text, done] {
    FDialog->lblInfo->setText(text);
    FDialog->lblInfo->update();
    if (done) {
      FDialog->btnOK->setEnabled(true);
      FDialog->btnCancel->setEnabled(false);
    }
  });
}

void AddFileThread::Message(const QString& text) {
  Synchronize([this, text] {
    ShowMessageBox(FDialog, QMessageBox::Information, QApplication::applicationDisplayName(), text,
                   QMessageBox::Ok);
  });
}

void AddFileThread::AddAll(QList<TItemInfo>& accepted) {
  for (const QString& path : FPaths) {
    if (Terminated()) break;
    const QByteArray local = QFile::encodeName(path);
    const QString shown = QFile::decodeName(local);
    FStatusText = QStringLiteral("Add File: '%1'.").arg(shown);
    UpdateStatus();
    const int handle = OpenPDF(local.constData(), 0);
    if (handle < 0) {
      if (FReportOpenFailures) Message(QStringLiteral("Fail to open file '%1'.").arg(shown));
      continue;
    }
    const int pages = GetPageCount(handle);
    ClosePDF(handle);
    if (pages <= 0) continue;
    const bool listed =
        std::any_of(FExistingItems.begin(), FExistingItems.end(),
                    [&](const TItemInfo* item) { return item->SourcePath == path; });
    if (listed) {
      Message(QStringLiteral("File '%1' is in the list already.").arg(path));
      continue;
    }
    TItemInfo entry{};
    entry.FileName = FileNameOf(path);
    entry.PageCount = pages;
    entry.SourcePath = path;
    accepted.append(entry);
  }
}

void AddFileThread::Execute() {
  Synchronize([] { QApplication::setOverrideCursor(Qt::WaitCursor); });
  FDone = false;
  QList<TItemInfo> accepted;
  try {
    AddAll(accepted);
  } catch (const std::exception& error) {
    // Whatever went wrong, the dialog must not hang in its adding state: report it once and
    // hand over what was accepted so far.
    Message(QStringLiteral("Adding files failed: %1").arg(QString::fromLocal8Bit(error.what())));
  } catch (...) {
    Message(QStringLiteral("Adding files failed."));
  }
  Synchronize([this, &accepted] { FDialog->FItems = accepted; });
  FStatusText = QStringLiteral("Adding files done.");
  QCoreApplication::postEvent(FDialog, new QEvent(WM_ADDFILESDONE));
  FDone = true;
  UpdateStatus();
  Synchronize([] { QApplication::restoreOverrideCursor(); });
}
