// The about dialog: version, support and home links, copyright and the product banner.
#pragma once

#include <QDialog>
#include <QLabel>

#include "Skin.h"

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  // Fills the texts from the running application's context. Throws std::runtime_error when
  // the banner "Skins/about.bmp" of the data folder cannot be read.
  explicit TAboutForm(QWidget* owner);

  // Opens the clicked label's text, so what is shown is exactly what is opened.
  void LinkLabelClick(QLabel* sender);

  TssSkinForm* ssSkinForm1;
  QLabel* TntImage1;
  QLabel *lblTitle, *lblVersionTag, *lblVersion, *lblSupportTag, *lblSupport, *lblHomeTag, *lblHome,
      *lblCopyright;
  TssSkinButton *ssSBOk, *ssSBClose;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
