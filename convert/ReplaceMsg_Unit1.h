// The overwrite prompt: asks whether an existing output is replaced, for this file or for all.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QRadioButton>

#include "Skin.h"

class ConvertThread;

class TReplaceMsgForm : public QDialog {
  Q_OBJECT

 public:
  explicit TReplaceMsgForm(QWidget* owner);

  // Shows `text` and selects "Just for this time".
  void SetQuestion(ConvertThread* thread, const QString& text);

  void ssSkinButton1Click();  // OK: replace
  void btnCancelClick();      // Cancel: keep

  QLabel* lblMsg;
  QRadioButton* TntRadioButton1;  // "Apply to all"
  QRadioButton* TntRadioButton2;  // "Just for this time"
  TssSkinForm* ssSkinForm1;
  TssSkinButton* btnOk;
  TssSkinButton* btnCancel;
  QLabel* TntLabel1;
  QLabel* TntLabel2;

 private:
  ConvertThread* FThread = nullptr;
};
