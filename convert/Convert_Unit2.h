// The conversion worker: converts every checked record of the file list through the engine.
#pragma once

#include <QString>
#include <atomic>

#include "Data_unit1.h"
#include "TThread.h"

class TConvertForm1;

class ConvertThread : public TThread {
 public:
  explicit ConvertThread(TConvertForm1* dialog);  // suspended
  ~ConvertThread() override { WaitFor(); }

  TConvertForm1* FDialog;
  QString FFileName;
  int32_t FPageTotal = 0;
  int32_t FReplaceResult = 0;
  QString FReplaceText;
  std::atomic<bool> FPause{false};
  std::atomic<bool> FStop{false};
  QString FOutputFolder;
  bool FReplace = false;
  bool FApplyToAll = false;

 protected:
  void Execute() override;

 private:
  void SyncStartFile();
  void AskReplace();
  // A worker's own message: information icon, OK, the application's title; waits for OK.
  void Message(const QString& text);
  void Report(int result);
  // Opens the record's PDF: its handle, or 0 after reporting "File is invalid.".
  int OpenSource(const QByteArray& source);
  void ConvertRecord(const TItemInfo& item);
  void ConvertDocument(const TItemInfo& item, const QList<RangePair>& ranges,
                       const QString& finalPath);
  void ConvertImages(const TItemInfo& item, const QList<RangePair>& ranges, const QString& folder,
                     const QString& base);
  // Whether to write under a numbered name, after asking when `existing` names a file.
  bool SettleExisting(const QString& existing);
};

// The worker of the conversion that runs (the engine's callback carries no argument).
extern ConvertThread* CurrentConvertThread;

// The engine's progress callback: pauses while asked to, and stops the call once the user
// has confirmed a stop.
int ConvertProgress(int a, int b, int page);

// The page files that an image conversion of `ranges` writes into `folder` as `base`-N.ext,
// N padded to the digits of `pageCount` (the engine's naming).
QStringList PageFileNames(const QString& base, const QString& extension, int pageCount,
                          const QList<RangePair>& ranges);
