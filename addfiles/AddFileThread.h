// The add-file worker: opens each candidate PDF only to count its pages, refuses the files
// that cannot be opened, have no pages or are listed already, and hands the rest to its dialog.
#pragma once

#include <QEvent>
#include <QList>
#include <QStringList>
#include <atomic>

#include "Data_unit1.h"
#include "TThread.h"

class TAddFileTipForm;

// Posted to the dialog when the worker has handed over its entries.
inline constexpr QEvent::Type WM_ADDFILESDONE = static_cast<QEvent::Type>(QEvent::User + 121);

class AddFileThread : public TThread {
 public:
  explicit AddFileThread(TAddFileTipForm* dialog);  // suspended
  ~AddFileThread() override { WaitFor(); }

  void SetFileList(const QStringList& paths, bool reportOpenFailures);
  void SetExistingItems(const QList<TItemInfo*>& items);

 protected:
  void Execute() override;

 private:
  void UpdateStatus();
  void Message(const QString& text);  // the worker's own box: information icon, OK
  void AddAll(QList<TItemInfo>& accepted);

  QString FStatusText;
  TAddFileTipForm* FDialog;
  QStringList FPaths;
  QList<TItemInfo*> FExistingItems;
  bool FReportOpenFailures = false;
  std::atomic<bool> FDone{false};
};
