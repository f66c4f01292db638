#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include "ConverterForm1_Unit1.h"
#include "Helpfunction.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"
#include "TestSupport.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("HOME", QByteArray::fromStdString(home.Path().string()));
    context.Title = "T";
    context.StudioName = "Glimmerhof Studio";
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon, const QString& caption,
                             const QString& text, QMessageBox::StandardButtons) {
      messages.push_back(caption + ": " + text);
      return QMessageBox::Ok;
    });
    // An address nothing answers: the panel stays closed unless a test serves one.
    window = std::make_unique<TConverterForm1>(&context, "http://127.0.0.1:9/none.html");
  }
  void TearDown() override {
    window.reset();
    ClearItems();
    SetMessageBoxHook(nullptr);
    SetChooserHook(nullptr);
  }
  TItemInfo* Add(const QString& name) {
    TItemInfo* item = NewItem();
    item->FileName = name;
    item->SourcePath = "/pdfs/" + name;
    item->PageCount = 4;
    item->OutputType = otJpeg;
    item->OutputName = OutputNameOf(name);
    window->AddRow(item);
    window->FillColorBox(item);
    window->UpdateListView();
    return item;
  }
  std::vector<bool> Enabled() {
    std::vector<bool> states;
    for (QAction* a : {window->ConvertAct, window->DeleteAct, window->ClearAllAct,
                       window->CheckAllAct, window->UncheckAllAct, window->SelectAllAct})
      states.push_back(a->isEnabled());
    return states;
  }
  void Select(std::initializer_list<int> rows, int focus) {
    window->TntLV->clearSelection();
    window->TntLV->setCurrentItem(window->TntLV->topLevelItem(focus), 0,
                                  QItemSelectionModel::NoUpdate);
    for (int r : rows) window->TntLV->topLevelItem(r)->setSelected(true);
  }

  TempDir home;
  MuiContext context;
  QStringList messages;
  std::unique_ptr<TConverterForm1> window;
};

TEST_F(MainWindow, StartsEmptyWithTheDefaultOutputFolder) {
  EXPECT_TRUE(window->TntLV->isHidden());
  EXPECT_FALSE(window->FaceImage->isHidden());
  EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, false, false, false}));
  for (QAction* a : {window->AddFileAct, window->AddFolderAct, window->OpenAct, window->BrowseAct,
                     window->HelpContentAct, window->SupportAct, window->HomePageAct,
                     window->AboutAct, window->MinAct, window->ExitAct})
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  const QString folder =
      QString::fromStdString(home.Path().string()) + "/Documents/Glimmerhof Studio/T";
  EXPECT_EQ(window->edtOutputFolder->text(), folder);
  EXPECT_TRUE(QDir(folder).exists());
  EXPECT_EQ(window->lblTitle->text(), "T");
  EXPECT_EQ(window->CppWebBrowser1->width(), 0);
}

TEST_F(MainWindow, ActionsFollowTheRowsAndTheirChecks) {
  Add("a.pdf");
  Add("b.pdf");
  EXPECT_FALSE(window->TntLV->isHidden());
  EXPECT_TRUE(window->FaceImage->isHidden());
  EXPECT_EQ(window->TntLV->topLevelItem(1)->text(1), "JPEG Format");
  EXPECT_EQ(window->TntLV->topLevelItem(1)->text(2), "1-4");
  // Row 0 was focused and selected by the first addition.
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false, true, true}));
  window->TntLV->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, true, true, true}));
  window->UncheckAllAct->trigger();
  EXPECT_EQ(Enabled(), (std::vector<bool>{false, true, true, true, false, true}));
  window->CheckAllAct->trigger();
  EXPECT_EQ(window->CheckedCount(), 2);
}

TEST_F(MainWindow, DeleteOneSomeOrAll) {
  TItemInfo* a = Add("a.pdf");
  TItemInfo* b = Add("b.pdf");
  TItemInfo* c = Add("c.pdf");
  Add("d.pdf");
  Select({3}, 3);  // the last row: the one before takes focus and selection
  window->DeleteActExecute();
  EXPECT_EQ(ItemList, (QList<TItemInfo*>{a, b, c}));
  EXPECT_EQ(window->FocusedItem(), c);
  EXPECT_EQ(window->TntLV->selectedItems().size(), 1);
  Select({1}, 0);  // one row picked, another focused: the picked one goes
  window->DeleteActExecute();
  EXPECT_EQ(ItemList, (QList<TItemInfo*>{a, c}));
  TItemInfo* e = Add("e.pdf");
  Select({0, 2}, 2);
  window->DeleteActExecute();
  EXPECT_EQ(ItemList, (QList<TItemInfo*>{c}));
  EXPECT_EQ(window->TntLV->selectedItems(),
            (QList<QTreeWidgetItem*>{window->TntLV->topLevelItem(0)}));
  Select({0}, 0);  // the only row
  window->DeleteActExecute();
  EXPECT_TRUE(ItemList.isEmpty());
  EXPECT_FALSE(window->FaceImage->isHidden());
  Add("f.pdf");
  Add("g.pdf");
  window->SelectAllAct->trigger();
  window->DeleteActExecute();  // as Clear All
  EXPECT_TRUE(ItemList.isEmpty());
  EXPECT_EQ(window->TntLV->topLevelItemCount(), 0);
  (void)e;
}

TEST_F(MainWindow, ClosingFreesTheRecords) {
  Add("a.pdf");
  Add("b.pdf");
  context.StartupFiles = {"x.pdf"};
  window->close();
  EXPECT_TRUE(ItemList.isEmpty());
  EXPECT_TRUE(context.StartupFiles.isEmpty());
}

TEST_F(MainWindow, TypingChecks) {
  const QString res = "warning: Please input number between 20 and 600";
  const QString qual = "warning: Please input number between 1 and 100";
  const struct {
    QLineEdit* edit;
    const char* typed;
    bool refused;
    const char* after;
  } cases[] = {
      {window->edtResolution, "x", true, "150"},
      {window->edtResolution, "700", true, "150"},
      {window->edtResolution, "10", false, "10"},
      {window->edtResolution, "0300", false, "0300"},
      {window->edtResolution, "123456789012", true, "150"},
      {window->edtResolution, "-5", true, "150"},
      {window->edtJPEGQuality, "101", true, "75"},
      {window->edtJPEGQuality, "123456789012", true, "75"},
      {window->edtJPEGQuality, "5", false, "5"},
      {window->edtJPEGQuality, "", false, ""},
  };
  for (const auto& c : cases) {
    messages.clear();
    c.edit->setText(c.typed);
    EXPECT_EQ(messages,
              c.refused ? QStringList{c.edit == window->edtResolution ? res : qual} : QStringList{})
        << c.typed;
    EXPECT_EQ(c.edit->text(), c.after) << c.typed;
  }
}

TEST_F(MainWindow, SettingsBelongToTheFocusedRecord) {
  TItemInfo* a = Add("a.pdf");
  TItemInfo* b = Add("b.pdf");
  Select({0}, 0);
  window->cboOutputColor->setCurrentIndex(1);
  window->cboOutputColorSelect();  // the user picks "Gray" for A
  EXPECT_EQ(a->ColorDepth, 8);
  Select({1}, 1);
  EXPECT_EQ(window->cboOutputColor->currentText(), "Gray");  // the box keeps the last choice
  EXPECT_EQ(b->ColorDepth, 24);
  Select({0}, 0);
  TItemInfo* c = Add("c.pdf");  // a new record resets the box, and the focused A
  EXPECT_EQ(window->cboOutputColor->currentText(), "Colorfull");
  EXPECT_EQ(a->ColorDepth, 24);
  (void)c;

  window->edtResolution->setText("300");  // typed for A, then B selected: discarded
  Select({1}, 1);
  EXPECT_EQ(window->edtResolution->text(), "150");
  EXPECT_EQ(a->Resolution, 150);

  QTreeWidgetItem* row = window->RowOf(b);
  row->setText(2, "");
  window->edtResolution->setText("10");
  window->CommitItemSettings(row, b);  // below the range: the stored value comes back
  EXPECT_EQ(window->edtResolution->text(), "150");
  EXPECT_EQ(b->Resolution, 150);
  window->edtResolution->setText("0300");
  window->edtJPEGQuality->setText("90");
  window->CommitItemSettings(row, b);
  EXPECT_EQ(b->Resolution, 300);
  EXPECT_EQ(b->JpegQuality, 90);
  EXPECT_EQ(row->text(2), "1-4");
  EXPECT_EQ(b->PageText, "1-4");
}

TEST_F(MainWindow, BrowseSetsTheOutputFolderUnlessCancelled) {
  QString asked;
  SetChooserHook([&](ChooserKind, const QString& title) {
    asked = title;
    return QStringList{"/chosen/folder"};
  });
  window->BrowseActExecute();
  EXPECT_EQ(asked, "Please Select Output Folder");
  EXPECT_EQ(window->edtOutputFolder->text(), "/chosen/folder");
  SetChooserHook([](ChooserKind, const QString&) { return QStringList{}; });
  window->BrowseActExecute();
  EXPECT_EQ(window->edtOutputFolder->text(), "/chosen/folder");
}

TEST(ShellHelpers, ChoosersAndOpenGoThroughTheSeam) {
  QString asked;
  ChooserKind kind{};
  SetChooserHook([&](ChooserKind k, const QString& title) {
    kind = k;
    asked = title;
    return QStringList{"/a/one.pdf", "/a/TWO.PDF"};
  });
  EXPECT_EQ(ChoosePdfFiles(nullptr), (QStringList{"/a/one.pdf", "/a/TWO.PDF"}));
  EXPECT_EQ(asked, "Select PDF File");
  EXPECT_EQ(kind, ChooserKind::PdfFiles);
  SetChooserHook(nullptr);
  QStringList opened;
  SetShellHook([&](const QString& target) { opened.push_back(target); });
  ShellOpen(nullptr, "");  // handed over unchanged
  ShellOpen(nullptr, "http://www.glimmerhof.com/support.html");
  SetShellHook(nullptr);
  EXPECT_EQ(opened, (QStringList{"", "http://www.glimmerhof.com/support.html"}));
  QString documents;
  EXPECT_TRUE(GetDocumentsFolder(documents));
  EXPECT_FALSE(documents.isEmpty());
}

// Serves one page, or a redirect to another path, on a local port.
struct PageServer : QTcpServer {
  bool redirect = false;
  PageServer() {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, [this] {
      QTcpSocket* socket = nextPendingConnection();
      connect(socket, &QTcpSocket::readyRead, [this, socket] {
        const bool first = socket->readAll().startsWith("GET /ad.html");
        const QByteArray body = "<html><body><h1>Ostrel Pro</h1><script>x()</script></body></html>";
        if (redirect && first)
          socket->write("HTTP/1.1 302 Found\r\nLocation: /other.html\r\nContent-Length: 0\r\n\r\n");
        else
          socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
      });
    });
  }
  QString Address() const { return QString("http://127.0.0.1:%1/ad.html").arg(serverPort()); }
};

TEST_F(MainWindow, TheWebPanelOpensForItsOwnPageOnly) {
  for (const bool redirect : {false, true}) {
    PageServer server;
    server.redirect = redirect;
    TConverterForm1 form(&context, server.Address());
    (void)QTest::qWaitFor([&] { return form.CppWebBrowser1->isVisibleTo(&form); }, 2000);
    EXPECT_EQ(form.CppWebBrowser1->isVisibleTo(&form), !redirect);
    EXPECT_EQ(form.CppWebBrowser1->width(), redirect ? 0 : 223);
    if (!redirect) {
      EXPECT_TRUE(form.CppWebBrowser1->toPlainText().contains("Ostrel Pro"));
      EXPECT_FALSE(form.CppWebBrowser1->toPlainText().contains("x()"));  // scripts never run
    }
  }
}

}  // namespace
