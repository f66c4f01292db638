// The main window: the file list, its actions, the output settings and the web panel.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>

#include "Data_unit1.h"
#include "Skin.h"

struct MuiContext;

class TConverterForm1 : public QWidget {
  Q_OBJECT

 public:
  // Reads the context; `advertisement` is the web panel's page (the vendor's by default).
  explicit TConverterForm1(MuiContext* context, const QString& advertisement = {});
  ~TConverterForm1() override;

  // The list.
  void UpdateListView();
  TItemInfo* FocusedItem() const;
  QTreeWidgetItem* RowOf(const TItemInfo* item) const;
  void SetAllChecked(bool checked);
  int CheckedCount() const;
  // Appends a checked row for a record already in ItemList.
  QTreeWidgetItem* AddRow(TItemInfo* item);
  // Re-evaluates every action's enabled rule.
  void UpdateActions();

  // Output settings.
  void LoadItemSettings(const TItemInfo* item);
  void CommitItemSettings(QTreeWidgetItem* row, TItemInfo* item);
  void FillColorBox(const TItemInfo* item);
  void cboOutputColorSelect();
  void edtResolutionChange();
  void edtJPEGQualityChange();
  void BrowseActExecute();

  void DeleteActExecute();
  void ClearAllActExecute();

  // Commands that hand work to the dialogs.
  // Runs the add-file dialog on `paths` and appends what it accepts; `report` says whether
  // files that cannot be opened are reported.
  void AddFiles(const QStringList& paths, bool report);
  // The PDF files directly in `folder`, by name; nothing at all happens when there are none.
  void AddFolder(const QString& folder);
  // Dropped names in drop order: files are gathered, each folder first flushes them.
  void DropFiles(const QStringList& names);
  void AddStartupFiles();
  void AddFileActExecute();
  void AddFolderActExecute();
  void ConvertActExecute();
  void AboutActExecute();

  // The web panel: shown once the advertisement page has loaded from its own address.
  void WebPageLoaded(const QUrl& address, const QString& html);

  MuiContext* FContext;
  QString FAdvertisement;
  TssSkinForm* skinBG;
  QLabel* lblTitle;
  TssSkinButton *btnMin, *btnClose;
  QLabel* ToolBar1;
  QToolButton *mnuFile, *mnuHelp;
  QTreeWidget* TntLV;
  QLabel* FaceImage;
  TssSkinButton *btnAddFile, *btnAddFolder, *btnSelect, *btnDelete, *btnClearAll, *btnConvert;
  QLabel *lblJPEGQuality, *lblJPEGQualitySubfix, *lblOutputColor, *lblResolution, *lblResSubfix,
      *lblOutputFolder;
  QLineEdit *edtJPEGQuality, *edtResolution, *edtOutputFolder;
  QComboBox* cboOutputColor;
  TssSkinButton *btnBrowes, *btnOpen;
  QTextBrowser* CppWebBrowser1;
  QMenu *TntMainMenuFile, *TntMainMenuHelp, *TntPopupMenu1;
  QAction *AddFileAct, *AddFolderAct, *ConvertAct, *DeleteAct, *ClearAllAct, *CheckAllAct,
      *UncheckAllAct, *SelectAllAct, *OpenAct, *BrowseAct, *HelpContentAct, *SupportAct,
      *HomePageAct, *AboutAct, *MinAct, *ExitAct;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormClose();
  void TypingCheck(QLineEdit* edit, int upper, const char* message, const char* reset);
  void ConnectCommands();
  QNetworkAccessManager FNetwork;
  bool FShown = false;
};

// The vendor's advertisement page shown in the web panel.
inline constexpr char ADVERTISEMENT_PAGE[] = "http://www.glimmerhof.com/ads/converter.html";
