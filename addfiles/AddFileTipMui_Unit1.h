// The add-file dialog: runs the add-file worker, shows its status and closes with OK when it
// is done, or with Cancel when the user gives up.
#pragma once

#include <QDialog>
#include <QLabel>
#include <memory>

#include "Data_unit1.h"
#include "Skin.h"

class AddFileThread;

class TAddFileTipForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAddFileTipForm(QWidget* mainForm);
  ~TAddFileTipForm() override;  // stops and waits for a worker still running

  void SetFileList(const QStringList& paths, bool reportOpenFailures);
  void SetExistingItems(const QList<TItemInfo*>& items);
  QList<TItemInfo> GetItems() const { return FItems; }

  void btnOKClick();      // waits for the worker, closes with OK
  void btnCancelClick();  // asks, then stops the worker and closes with Cancel
  void btnCloseClick();   // OK once the worker is done, else Cancel
  AddFileThread* Worker() const { return FWorker.get(); }

  QLabel* lblInfo;
  TssSkinForm* ssSkinForm1;
  TssSkinButton* btnClose;
  TssSkinButton* btnOK;
  TssSkinButton* btnCancel;

  QWidget* FMainForm;
  std::unique_ptr<AddFileThread> FWorker;
  QList<TItemInfo> FItems;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  void reject() override;
};
