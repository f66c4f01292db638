#include "Convert_Unit2.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <thread>

#include "Convert_Unit1.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "Rastmond.h"
#include "ReplaceMsg_Unit1.h"

ConvertThread* CurrentConvertThread = nullptr;

namespace {

bool IsDocumentType(int code) {
  return code >= otTxt && code <= otRtf;
}

// The extension the engine gives the page files of an image type.
QString PageExtension(int code) {
  switch (code) {
    case otPng:
      return QStringLiteral(".png");
    case otGif:
      return QStringLiteral(".gif");
    case otBmp:
      return QStringLiteral(".bmp");
    case otPcx:
      return QStringLiteral(".pcx");
    case otTga:
      return QStringLiteral(".tga");
    case otTiff:
      return QStringLiteral(".tif");
    default:
      return QStringLiteral(".jpg");
  }
}

// The engine's image calls that take nothing beyond the common arguments; null for others.
using PlainImageFunction = int (*)(int, const char*, const char*, int, int, int, int,
                                   ProgressCallback);
PlainImageFunction PlainImageCall(int code) {
  switch (code) {
    case otPng:
      return PDF2PNG;
    case otGif:
      return PDF2GIF;
    case otBmp:
      return PDF2BMP;
    case otPcx:
      return PDF2PCX;
    case otTga:
      return PDF2TGA;
    default:
      return nullptr;
  }
}

QString StemOf(const QString& name) {
  const QString file = FileNameOf(name);
  const qsizetype dot = file.lastIndexOf(u'.');
  return dot < 0 ? file : file.left(dot);
}

// `name` with "-n" before its extension (at its end without one).
QString Numbered(const QString& name, int n) {
  const qsizetype dot = name.lastIndexOf(u'.');
  const QString number = QStringLiteral("-%1").arg(n);
  return dot < 0 ? name + number : name.left(dot) + number + name.mid(dot);
}

bool Exists(const QString& path) {
  return QFile::exists(path);
}

}  // namespace

QStringList PageFileNames(const QString& base, const QString& extension, int pageCount,
                          const QList<RangePair>& ranges) {
  const int digits = QString::number(std::max(pageCount, 1)).size();
  QStringList names;
  for (const RangePair& range : ranges)
    for (int page = range.First; page <= range.Last; ++page)
      names.append(
          QStringLiteral("%1-%2%3").arg(base).arg(page, digits, 10, QChar(u'0')).arg(extension));
  return names;
}

ConvertThread::ConvertThread(TConvertForm1* dialog) : FDialog(dialog) {
  CurrentConvertThread = this;
}

int ConvertProgress(int, int, int page) {
  ConvertThread* worker = CurrentConvertThread;
  if (worker->FStop) return 0;
  while (worker->FPause) {
    if (worker->FStop) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  worker->FDialog->FCurPage = page;
  ++worker->FDialog->FPageDone;
  return 1;
}

void ConvertThread::SyncStartFile() {
  Synchronize([this] { FDialog->StartFile(FFileName, FPageTotal); });
}

void ConvertThread::AskReplace() {
  Synchronize([this] {
    TReplaceMsgForm prompt(FDialog->parentWidget());
    prompt.SetQuestion(this, FReplaceText);
    FReplaceResult = ExecModal(prompt);
  });
}

void ConvertThread::Message(const QString& text) {
  Synchronize([this, text] {
    ShowMessageBox(FDialog, QMessageBox::Information, QApplication::applicationDisplayName(), text,
                   QMessageBox::Ok);
  });
}

void ConvertThread::Report(int result) {
  if (result == -1) Message(QStringLiteral("Internal error occurs while converting files.\n"));
  if (result == -2) Message(QStringLiteral("File is encrypted.\n"));
  if (result == -3) Message(QStringLiteral("No file copy rights.\n"));
}

bool ConvertThread::SettleExisting(const QString& existing) {
  bool numbered = false;
  if (!existing.isEmpty()) {
    FReplaceText = QStringLiteral("File '%1' exists, replace it?").arg(existing);
    if (!FApplyToAll) {
      AskReplace();
      if (FReplaceResult == 2 && !FApplyToAll) numbered = true;
    }
  }
  if (!FReplace && FApplyToAll) numbered = true;
  return numbered;
}

void ConvertThread::Execute() {
  for (qsizetype index = 0; index < ItemList.size() && !FStop; ++index) {
    const TItemInfo* item = ItemList[index];
    if (!item->Checked) continue;
    ConvertRecord(*item);
  }
  // The end of the run: the dialog closes as completed (or as stopped, when it was asked to).
  Synchronize([this] { FDialog->WorkerFinished(); });
}

void ConvertThread::ConvertRecord(const TItemInfo& item) {
  QList<RangePair> ranges;
  const int total = ParsePageSelection(item, ranges);
  FFileName = item.FileName;
  FPageTotal = total > 0 ? total : 1;
  SyncStartFile();

  const qsizetype dot = item.FileName.lastIndexOf(u'.');
  const QString base = dot < 0 ? item.FileName : item.FileName.left(dot);
  const QString root = FOutputFolder.endsWith(u'/') ? FOutputFolder : FOutputFolder + u'/';
  const bool document = IsDocumentType(item.OutputType);
  const QString folder = document
                             ? root + QStringLiteral("Document/")
                             : root + QStringLiteral("Image/") + StemOf(item.OutputName) + u'/';
  QDir().mkpath(folder);

  if (document) {
    QString finalName = item.OutputName;
    if (SettleExisting(Exists(folder + finalName) ? finalName : QString())) {
      for (int n = 0;; ++n)
        if (!Exists(folder + Numbered(item.OutputName, n))) {
          finalName = Numbered(item.OutputName, n);
          break;
        }
    }
    ConvertDocument(item, ranges, folder + finalName);
    return;
  }
  // Page images are named after the base: a kept output moves the new pages to the first
  // numbered base none of whose page files exists.
  const QString extension = PageExtension(item.OutputType);
  const auto firstExisting = [&](const QString& candidate) {
    for (const QString& name : PageFileNames(candidate, extension, item.PageCount, ranges))
      if (Exists(folder + name)) return name;
    return QString();
  };
  QString finalBase = base;
  if (SettleExisting(firstExisting(base))) {
    for (int n = 0;; ++n) {
      const QString candidate = StemOf(Numbered(item.OutputName, n));
      if (firstExisting(candidate).isEmpty()) {
        finalBase = candidate;
        break;
      }
    }
  }
  ConvertImages(item, ranges, folder, finalBase);
}

int ConvertThread::OpenSource(const QByteArray& source) {
  const int handle = OpenPDF(source.constData(), 0);
  if (handle >= 0) return handle;
  Message(QStringLiteral("File is invalid.\n"));
  ClosePDF(handle);  // the engine ignores what is not an open document
  return 0;
}

void ConvertThread::ConvertDocument(const TItemInfo& item, const QList<RangePair>& ranges,
                                    const QString& finalPath) {
  if (FStop) return;
  QStringList pieces;
  for (const RangePair& r : ranges)
    pieces.append(r.First == r.Last ? QString::number(r.First)
                                    : QStringLiteral("%1-%2").arg(r.First).arg(r.Last));
  const QByteArray pageList = pieces.join(u',').toLocal8Bit();
  const QByteArray output = QFile::encodeName(finalPath);
  const int handle = OpenSource(QFile::encodeName(item.SourcePath));
  int result = 0;
  if (handle > 0) {
    FDialog->FConvType = item.OutputType;
    result = item.OutputType == otTxt
                 ? PDF2TXT(handle, pageList.constData(), output.constData(), 0, ConvertProgress)
                 : PDF2RTF(handle, pageList.constData(), output.constData(), ConvertProgress);
  }
  ClosePDF(handle);
  Report(result);
}

void ConvertThread::ConvertImages(const TItemInfo& item, const QList<RangePair>& ranges,
                                  const QString& folder, const QString& base) {
  const QByteArray source = QFile::encodeName(item.SourcePath);
  const QByteArray dir = QFile::encodeName(folder);
  const QByteArray name = QFile::encodeName(base);
  const int dpi = item.Resolution;
  for (const RangePair& r : ranges) {
    if (FStop) return;  // a confirmed stop ends the run: nothing more is opened or shown
    const int handle = OpenSource(source);
    int result = 0;
    if (handle > 0) {
      FDialog->FConvType = item.OutputType;
      const char* d = dir.constData();
      const char* b = name.constData();
      switch (item.OutputType) {
        case otJpeg:
          result = PDF2JPG(handle, d, b, dpi, dpi, r.First, r.Last, ConvertProgress,
                           item.JpegQuality, item.ColorDepth == 8 ? 1 : 0);
          break;
        case otTiff:
          result = PDF2TIF(handle, d, b, dpi, dpi, r.First, r.Last, ConvertProgress,
                           item.TiffCompression, item.ColorDepth, item.TiffOption);
          break;
        default:
          if (const auto call = PlainImageCall(item.OutputType))
            result = call(handle, d, b, dpi, dpi, r.First, r.Last, ConvertProgress);
          break;
      }
    }
    ClosePDF(handle);
    if (!FStop) Report(result);
  }
}
