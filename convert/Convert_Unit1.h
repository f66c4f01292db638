// The conversion progress dialog: runs the worker, shows file, page and a bar, and lets the
// user stop.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <atomic>
#include <memory>

#include "Skin.h"

class ConvertThread;

class TConvertForm1 : public QDialog {
  Q_OBJECT

 public:
  TConvertForm1(QWidget* owner, const QString& outputFolder);
  ~TConvertForm1() override;  // the worker goes with the dialog

  // For the worker, on the GUI thread: a checked record starts.
  void StartFile(const QString& name, int total);
  void TimerProgTimer();
  // For the worker, on the GUI thread: the run has ended.
  void WorkerFinished();

  // Closing: 2 (Stop, the close button, the window's close) asks whether to stop; any other
  // result asks whether to open the output folder. Returns whether the dialog may close.
  bool FormCloseQuery(int result);
  void done(int result) override;
  void reject() override;

  TssSkinForm* ssSkinForm1;
  QLabel* lblTitle;
  TssSkinButton* ssSBClose;
  TssSkinButton* ssSBStop;
  QLabel* lblFile;
  QLabel* lblPage;
  QTimer* TimerProg;
  TSkinProcess* SkinProcess1;

  std::unique_ptr<ConvertThread> FThread;
  std::atomic<int32_t> FPageTotal{0};
  std::atomic<int32_t> FPageDone{0};
  std::atomic<int32_t> FCurPage{0};
  std::atomic<int32_t> FConvType{0};

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void AskOpenFolder(const QString& text);
  bool FWorkerDone = false;
  bool FAsking = false;   // the stop question is open
  bool FClosing = false;  // the dialog has decided to close
};
