// The main window's commands that hand work to other windows: adding files (chooser, folder,
// drop, command line), converting, and opening the folder, help, web pages and about box.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <exception>

#include "About.h"
#include "AddFileTipMui_Unit1.h"
#include "Convert_Unit1.h"
#include "ConverterForm1_Unit1.h"
#include "Helpfunction.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"

namespace {

QStringList LocalFiles(const QMimeData* mime) {
  QStringList names;
  if (mime)
    for (const QUrl& url : mime->urls())
      if (url.isLocalFile()) names.push_back(url.toLocalFile());
  return names;
}

}  // namespace

void TConverterForm1::ConnectCommands() {
  setAcceptDrops(true);
  connect(AddFileAct, &QAction::triggered, this, &TConverterForm1::AddFileActExecute);
  connect(AddFolderAct, &QAction::triggered, this, &TConverterForm1::AddFolderActExecute);
  connect(ConvertAct, &QAction::triggered, this, &TConverterForm1::ConvertActExecute);
  connect(AboutAct, &QAction::triggered, this, &TConverterForm1::AboutActExecute);
  connect(OpenAct, &QAction::triggered, this, [this] { ShellOpen(this, edtOutputFolder->text()); });
  const auto open = [this](QAction* act, QString MuiContext::*field, const char* suffix) {
    connect(act, &QAction::triggered, this, [this, field, suffix] {
      if (FContext) ShellOpen(this, FContext->*field + QString::fromLatin1(suffix));
    });
  };
  open(HelpContentAct, &MuiContext::DataFolder, "help.html");
  open(SupportAct, &MuiContext::SupportLink, "");
  open(HomePageAct, &MuiContext::HomeLink, "");
}

void TConverterForm1::AddFiles(const QStringList& paths, bool report) {
  if (paths.isEmpty()) {
    UpdateListView();
    return;
  }
  QList<TItemInfo> accepted;
  {
    TAddFileTipForm dialog(this);
    dialog.SetFileList(paths, report);
    dialog.SetExistingItems(ItemList);
    if (ExecModal(dialog) == 2) return;  // cancelled: whatever the worker accepted is dropped
    accepted = dialog.GetItems();
  }
  for (const TItemInfo& entry : accepted) {
    TItemInfo* item = NewItem();
    item->FileName = entry.FileName;
    item->PageCount = entry.PageCount;
    item->SourcePath = entry.SourcePath;
    item->OutputType = otJpeg;
    item->OutputName = OutputNameOf(item->FileName);
    AddRow(item);
    FillColorBox(item);
  }
  UpdateListView();
}

void TConverterForm1::AddFolder(const QString& folder) {
  QString root = folder;
  if (!root.endsWith(u'/')) root += u'/';
  // ".pdf" in any letter case; sub-folders are not searched.
  QStringList paths;
  for (const QString& name : QDir(root).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
    if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) paths.push_back(root + name);
  if (!paths.isEmpty()) AddFiles(paths, false);
}

void TConverterForm1::DropFiles(const QStringList& names) {
  QStringList gathered;
  for (const QString& name : names) {
    if (QFileInfo(name).isDir()) {
      AddFiles(gathered, false);
      gathered.clear();
      AddFolder(name);
    } else {
      gathered.push_back(name);
    }
  }
  AddFiles(gathered, false);
}

void TConverterForm1::AddStartupFiles() {
  if (FContext && !FContext->StartupFiles.isEmpty()) AddFiles(FContext->StartupFiles, true);
}

void TConverterForm1::AddFileActExecute() {
  AddFiles(ChoosePdfFiles(this), true);
}

void TConverterForm1::AddFolderActExecute() {
  QString folder;
  if (BrowseForFolder(this, QStringLiteral("Please Select PDF Folder"), folder)) AddFolder(folder);
}

void TConverterForm1::ConvertActExecute() {
  if (QTreeWidgetItem* row = TntLV->currentItem()) CommitItemSettings(row, FocusedItem());
  for (int i = 0; i < TntLV->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = TntLV->topLevelItem(i);
    static_cast<TItemInfo*>(row->data(0, Qt::UserRole).value<void*>())->Checked =
        row->checkState(0) == Qt::Checked;
  }
  TConvertForm1 dialog(this, edtOutputFolder->text());
  ExecModal(dialog);
}

void TConverterForm1::AboutActExecute() {
  // The banner is read while the dialog is built; if that fails, the dialog is not shown and
  // the error is displayed like any other the application meets.
  try {
    TAboutForm dialog(this);
    ExecModal(dialog);
  } catch (const std::exception& error) {
    ShowException(this, QString::fromLocal8Bit(error.what()));
  }
}

void TConverterForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FShown) return;
  FShown = true;
  // Once the window is on screen, so that the add-file dialog has it as a visible owner.
  QTimer::singleShot(0, this, &TConverterForm1::AddStartupFiles);
}

void TConverterForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TConverterForm1::dropEvent(QDropEvent* event) {
  const QStringList names = LocalFiles(event->mimeData());
  if (names.isEmpty()) return;
  event->acceptProposedAction();
  // The dialogs run after the drag has ended, not inside the drop.
  QTimer::singleShot(0, this, [this, names] { DropFiles(names); });
}
