#include "ConverterForm1_Unit1.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "Helpfunction.h"
#include "MessageBox.h"
#include "MuiContext.h"
#include "Rastmond.h"

namespace {

TItemInfo* RecordOf(const QTreeWidgetItem* row) {
  return row ? static_cast<TItemInfo*>(row->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* Edit(QWidget* parent, const QString& text, int x, int y, int w) {
  auto* edit = new QLineEdit(text, parent);
  edit->setGeometry(x, y, w, 21);
  return edit;
}

}  // namespace

TConverterForm1::TConverterForm1(MuiContext* context, const QString& advertisement)
    : FContext(context),
      FAdvertisement(advertisement.isEmpty() ? QString::fromLatin1(ADVERTISEMENT_PAGE)
                                             : advertisement) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  setFont(font);
  skinBG = new TssSkinForm(this);
  skinBG->SetPicture(QImage(QStringLiteral(":/forms/main_bg.bmp")));
  if (context) setWindowTitle(context->Title);
  lblTitle = Label(this, context ? context->Title : QString(), 25, 6);
  QFont title = font;
  title.setBold(true);
  title.setPixelSize(13);
  lblTitle->setFont(title);
  lblTitle->setStyleSheet(QStringLiteral("color: white"));
  lblTitle->adjustSize();

  const auto action = [this](const char* caption) {
    return new QAction(QString::fromLatin1(caption), this);
  };
  AddFileAct = action("Add File...");
  AddFolderAct = action("Add Folder...");
  ConvertAct = action("Convert");
  DeleteAct = action("Delete");
  ClearAllAct = action("Clear All");
  CheckAllAct = action("Check All");
  UncheckAllAct = action("Uncheck All");
  SelectAllAct = action("SelectAllAct");
  OpenAct = action("Open Folder");
  BrowseAct = action("Browse");
  HelpContentAct = action("Help Content");
  SupportAct = action("Support");
  HomePageAct = action("Home Page");
  AboutAct = action("About...");
  MinAct = action("Minimize");
  ExitAct = action("Exit");
  connect(DeleteAct, &QAction::triggered, this, &TConverterForm1::DeleteActExecute);
  connect(ClearAllAct, &QAction::triggered, this, &TConverterForm1::ClearAllActExecute);
  connect(CheckAllAct, &QAction::triggered, this, [this] { SetAllChecked(true); });
  connect(UncheckAllAct, &QAction::triggered, this, [this] { SetAllChecked(false); });
  connect(SelectAllAct, &QAction::triggered, this, [this] { TntLV->selectAll(); });
  connect(BrowseAct, &QAction::triggered, this, &TConverterForm1::BrowseActExecute);
  connect(MinAct, &QAction::triggered, this, [this] { showMinimized(); });
  connect(ExitAct, &QAction::triggered, this, [this] { close(); });
  ConnectCommands();

  btnMin = NewSkinButton(this, "main_btn_min", 760, 5);
  btnMin->SetAction(MinAct);
  btnClose = NewSkinButton(this, "main_btn_close", 782, 5);
  btnClose->SetAction(ExitAct);

  // The main menu, as flat white text buttons on the tool bar band.
  ToolBar1 = new QLabel(this);
  ToolBar1->setPixmap(QPixmap(QStringLiteral(":/forms/main_toolbar.bmp")));
  ToolBar1->setGeometry(46, 28, 321, 23);
  // Both the File menu and the context menu start with the entries that change the list.
  const auto listMenu = [this] {
    auto* menu = new QMenu(this);
    menu->addAction(QStringLiteral("Add File"), AddFileAct, &QAction::trigger);
    menu->addAction(QStringLiteral("Add Folder"), AddFolderAct, &QAction::trigger);
    menu->addSeparator();
    menu->addActions({DeleteAct, ClearAllAct});
    menu->addSeparator();
    return menu;
  };
  TntMainMenuFile = listMenu();
  TntMainMenuFile->addAction(ExitAct);
  TntMainMenuHelp = new QMenu(this);
  TntMainMenuHelp->addActions({HelpContentAct, SupportAct});
  TntMainMenuHelp->addSeparator();
  TntMainMenuHelp->addAction(HomePageAct);
  TntMainMenuHelp->addSeparator();
  TntMainMenuHelp->addAction(QStringLiteral("About"), AboutAct, &QAction::trigger);
  int menuX = 0;
  for (auto [button, caption, menu] : {std::tuple{&mnuFile, "   File   ", TntMainMenuFile},
                                       std::tuple{&mnuHelp, "   Help   ", TntMainMenuHelp}}) {
    *button = new QToolButton(ToolBar1);
    (*button)->setText(QString::fromLatin1(caption));
    (*button)->setMenu(menu);
    (*button)->setPopupMode(QToolButton::InstantPopup);
    (*button)->setAutoRaise(true);
    (*button)->setStyleSheet(
        QStringLiteral("QToolButton { color: white; border: none; background: transparent; }"
                       "QToolButton:hover { background: rgba(255,255,255,40); }"
                       "QToolButton::menu-indicator { image: none; }"));
    (*button)->setGeometry(menuX, 0, 60, 23);
    menuX += 60;
  }

  TntPopupMenu1 = listMenu();
  TntPopupMenu1->addActions({CheckAllAct, UncheckAllAct});
  TntPopupMenu1->addSeparator();
  TntPopupMenu1->addAction(QStringLiteral("Select All"), SelectAllAct, &QAction::trigger);

  TntLV = new QTreeWidget(this);
  TntLV->setGeometry(11, 60, 562, 321);
  TntLV->setColumnCount(3);
  TntLV->setHeaderLabels(
      {QStringLiteral("File Name"), QStringLiteral("Output Type"), QStringLiteral("Pages")});
  TntLV->setColumnWidth(0, 187);
  TntLV->setColumnWidth(1, 187);
  TntLV->setColumnWidth(2, 188);
  TntLV->header()->setMinimumSectionSize(50);
  TntLV->header()->setSectionsClickable(false);
  TntLV->setRootIsDecorated(false);
  TntLV->setSortingEnabled(false);
  TntLV->setSelectionMode(QAbstractItemView::ExtendedSelection);
  TntLV->setSelectionBehavior(QAbstractItemView::SelectRows);
  TntLV->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TntLV->setFrameShape(QFrame::NoFrame);
  TntLV->setContextMenuPolicy(Qt::CustomContextMenu);
  TntLV->hide();
  FaceImage = new QLabel(this);
  FaceImage->setGeometry(10, 59, 564, 322);
  FaceImage->setPixmap(QPixmap(QStringLiteral(":/forms/main_face.bmp")));
  FaceImage->setScaledContents(true);
  FaceImage->setContextMenuPolicy(Qt::CustomContextMenu);
  for (QWidget* w : {static_cast<QWidget*>(TntLV), static_cast<QWidget*>(FaceImage)})
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& at) { TntPopupMenu1->popup(w->mapToGlobal(at)); });
  connect(TntLV, &QTreeWidget::itemSelectionChanged, this, [this] {
    LoadItemSettings(FocusedItem());
    UpdateActions();
  });
  connect(TntLV, &QTreeWidget::itemChanged, this, [this] { UpdateActions(); });

  const struct {
    TssSkinButton** button;
    const char* skin;
    QAction* act;
    int x;
  } actions[] = {{&btnAddFile, "main_btn_addfile", AddFileAct, 47},
                 {&btnAddFolder, "main_btn_addfolder", AddFolderAct, 116},
                 {&btnSelect, "main_btn_selectall", SelectAllAct, 185},
                 {&btnDelete, "main_btn_delete", DeleteAct, 254},
                 {&btnClearAll, "main_btn_clearall", ClearAllAct, 323},
                 {&btnConvert, "main_btn_convert", ConvertAct, 452}};
  for (const auto& a : actions) {
    *a.button = NewSkinButton(this, a.skin, a.x, 384);
    (*a.button)->SetAction(a.act);
  }

  lblJPEGQuality = Label(this, QStringLiteral("JPEG Quality (1-100):"), 13, 478);
  edtJPEGQuality = Edit(this, QStringLiteral("75"), 137, 474, 80);
  lblJPEGQualitySubfix = Label(this, QStringLiteral("%"), 229, 478);
  for (QWidget* w : {static_cast<QWidget*>(lblJPEGQuality), static_cast<QWidget*>(edtJPEGQuality),
                     static_cast<QWidget*>(lblJPEGQualitySubfix)})
    w->hide();
  lblOutputColor = Label(this, QStringLiteral("Output Color:"), 254, 478);
  cboOutputColor = new QComboBox(this);
  cboOutputColor->setGeometry(333, 474, 75, 21);
  connect(cboOutputColor, &QComboBox::activated, this, &TConverterForm1::cboOutputColorSelect);
  lblResolution = Label(this, QStringLiteral("Resolution:"), 417, 478);
  edtResolution = Edit(this, QStringLiteral("150"), 488, 474, 64);
  lblResSubfix = Label(this, QStringLiteral("dpi"), 557, 478);
  connect(edtResolution, &QLineEdit::textChanged, this, &TConverterForm1::edtResolutionChange);
  connect(edtJPEGQuality, &QLineEdit::textChanged, this, &TConverterForm1::edtJPEGQualityChange);
  lblOutputFolder = Label(this, QStringLiteral("Output Folder:"), 15, 524);
  edtOutputFolder = Edit(this, QString(), 95, 519, 240);
  edtOutputFolder->setReadOnly(true);
  btnBrowes = NewSkinButton(this, "main_btn_browse", 340, 518);
  btnBrowes->OnClick = [this](QWidget*) { BrowseActExecute(); };
  btnOpen = NewSkinButton(this, "main_btn_open", 419, 518);
  btnOpen->SetAction(OpenAct);

  CppWebBrowser1 = new QTextBrowser(this);
  CppWebBrowser1->setGeometry(595, 60, 0, 491);
  CppWebBrowser1->setOpenLinks(false);
  CppWebBrowser1->setFrameShape(QFrame::NoFrame);
  CppWebBrowser1->hide();

  // Construction: the engine's resources, the title, the default output folder, the
  // placeholder, the advertisement page.
  if (context) SetRCPath(QFile::encodeName(context->ExeFolder + QStringLiteral("RC")).constData());
  QString documents;
  if (context && GetDocumentsFolder(documents)) {
    const QString folder = documents + u'/' + context->StudioName + u'/' + context->Title;
    QDir().mkpath(folder);
    edtOutputFolder->setText(folder);
  }
  FaceImage->show();
  TntLV->hide();
  QNetworkRequest request{QUrl(FAdvertisement)};
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  QNetworkReply* reply = FNetwork.get(request);
  connect(reply, &QNetworkReply::finished, this, [this, reply] {
    reply->deleteLater();
    if (reply->error() == QNetworkReply::NoError)
      WebPageLoaded(reply->url(), QString::fromUtf8(reply->readAll()));
  });
  UpdateActions();
}

TConverterForm1::~TConverterForm1() = default;

void TConverterForm1::WebPageLoaded(const QUrl& address, const QString& html) {
  if (address != QUrl(FAdvertisement)) return;  // a redirect or another page changes nothing
  CppWebBrowser1->setHtml(html);                // rich text only: no scripts run
  CppWebBrowser1->show();
  CppWebBrowser1->resize(223, CppWebBrowser1->height());
}

// ---- the list

TItemInfo* TConverterForm1::FocusedItem() const {
  return RecordOf(TntLV->currentItem());
}

QTreeWidgetItem* TConverterForm1::RowOf(const TItemInfo* item) const {
  for (int i = 0; i < TntLV->topLevelItemCount(); ++i)
    if (RecordOf(TntLV->topLevelItem(i)) == item) return TntLV->topLevelItem(i);
  return nullptr;
}

QTreeWidgetItem* TConverterForm1::AddRow(TItemInfo* item) {
  auto* row =
      new QTreeWidgetItem({item->FileName, QString::fromLatin1(OutputTypeNames[item->OutputType]),
                           PageSelectionText(*item)});
  row->setData(0, Qt::UserRole, QVariant::fromValue<void*>(item));
  row->setFlags((row->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
  row->setCheckState(0, Qt::Checked);
  TntLV->addTopLevelItem(row);
  return row;
}

void TConverterForm1::SetAllChecked(bool checked) {
  for (int i = 0; i < TntLV->topLevelItemCount(); ++i)
    TntLV->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int TConverterForm1::CheckedCount() const {
  int count = 0;
  for (int i = 0; i < TntLV->topLevelItemCount(); ++i)
    count += TntLV->topLevelItem(i)->checkState(0) == Qt::Checked;
  return count;
}

void TConverterForm1::UpdateActions() {
  const int rows = TntLV->topLevelItemCount(), checked = CheckedCount();
  ConvertAct->setEnabled(checked > 0);
  DeleteAct->setEnabled(!TntLV->selectedItems().isEmpty());
  ClearAllAct->setEnabled(rows > 0);
  CheckAllAct->setEnabled(checked != rows);
  UncheckAllAct->setEnabled(checked > 0);
  SelectAllAct->setEnabled(rows > 0);
}

void TConverterForm1::UpdateListView() {
  const bool rows = TntLV->topLevelItemCount() > 0;
  TntLV->setVisible(rows);
  FaceImage->setVisible(!rows);
  if (TItemInfo* focused = FocusedItem()) LoadItemSettings(focused);
  if (!TntLV->currentItem() && rows) {
    TntLV->setCurrentItem(TntLV->topLevelItem(0));
    TntLV->topLevelItem(0)->setSelected(true);
  }
  UpdateActions();
}

void TConverterForm1::DeleteActExecute() {
  const QList<QTreeWidgetItem*> selected = TntLV->selectedItems();
  const int rows = TntLV->topLevelItemCount();
  if (selected.size() == 1) {
    // The row the user picked, also when another row has the focus.
    QTreeWidgetItem* row = selected.first();
    const int at = TntLV->indexOfTopLevelItem(row);
    QTreeWidgetItem* next = TntLV->topLevelItem(at + 1 < rows ? at + 1 : at - 1);
    if (next && next != row) {
      TntLV->setCurrentItem(next);
      TntLV->clearSelection();
      next->setSelected(true);
    }
    TItemInfo* record = RecordOf(row);
    delete row;
    RemoveItem(record);
  } else if (selected.size() == rows && rows > 0) {
    ClearAllActExecute();
    return;
  } else if (!selected.isEmpty()) {
    for (QTreeWidgetItem* row : selected) {
      TItemInfo* record = RecordOf(row);
      delete row;
      RemoveItem(record);
    }
    TntLV->clearSelection();
    if (TntLV->topLevelItemCount() > 0) {
      TntLV->setCurrentItem(TntLV->topLevelItem(0));
      TntLV->topLevelItem(0)->setSelected(true);
    }
  } else {
    return;
  }
  UpdateListView();
}

void TConverterForm1::ClearAllActExecute() {
  if (TntLV->topLevelItemCount() == 0) return;
  TntLV->clear();
  ClearItems();
  UpdateListView();
}

void TConverterForm1::FormClose() {
  ClearAllActExecute();
  if (FContext) FContext->StartupFiles.clear();
}

void TConverterForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

// ---- output settings

void TConverterForm1::LoadItemSettings(const TItemInfo* item) {
  if (!item) return;
  edtJPEGQuality->setText(QString::number(item->JpegQuality));
  edtResolution->setText(QString::number(item->Resolution));
}

void TConverterForm1::CommitItemSettings(QTreeWidgetItem* row, TItemInfo* item) {
  // A value in range is taken; anything else (text that is no number too) puts the record's
  // value back into the box.
  const auto commit = [](QLineEdit* edit, int low, int high, int32_t& field) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (ok && value >= low && value <= high)
      field = value;
    else
      edit->setText(QString::number(field));
  };
  commit(edtJPEGQuality, 1, 100, item->JpegQuality);
  commit(edtResolution, 20, 600, item->Resolution);
  item->PageText = PageSelectionText(*item);
  if (row) row->setText(2, item->PageText);
}

void TConverterForm1::FillColorBox(const TItemInfo* item) {
  cboOutputColor->clear();
  cboOutputColor->addItem(QStringLiteral("Colorfull"), 24);
  cboOutputColor->addItem(QStringLiteral("Gray"), 8);
  const int found = item ? cboOutputColor->findData(item->ColorDepth) : -1;
  cboOutputColor->setCurrentIndex(found < 0 ? 0 : found);
  cboOutputColorSelect();
}

void TConverterForm1::cboOutputColorSelect() {
  TItemInfo* focused = FocusedItem();
  if (cboOutputColor->currentIndex() >= 0 && focused)
    focused->ColorDepth = cboOutputColor->currentData().toInt();
}

void TConverterForm1::TypingCheck(QLineEdit* edit, int upper, const char* message,
                                  const char* reset) {
  const QString text = edit->text();
  if (text.isEmpty()) return;
  const bool digits =
      std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
  // Any number of digits counts: leading zeros aside, more than nine are above every bound.
  QString value = text;
  while (value.size() > 1 && value.startsWith(u'0')) value.remove(0, 1);
  const bool above = digits && (value.size() > 9 || value.toLongLong() > upper);
  if (digits && !above) return;
  ShowMessageBox(this, QMessageBox::NoIcon, QStringLiteral("warning"), QString::fromLatin1(message),
                 QMessageBox::Ok);
  edit->setText(QString::fromLatin1(reset));
}

void TConverterForm1::edtResolutionChange() {
  TypingCheck(edtResolution, 600, "Please input number between 20 and 600", "150");
}

void TConverterForm1::edtJPEGQualityChange() {
  TypingCheck(edtJPEGQuality, 100, "Please input number between 1 and 100", "75");
}

void TConverterForm1::BrowseActExecute() {
  QString folder;
  if (BrowseForFolder(this, QStringLiteral("Please Select Output Folder"), folder))
    edtOutputFolder->setText(folder);
}
