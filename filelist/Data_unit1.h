// The file list: the PDFs to convert, with their page selections and output settings.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// One PDF of the list. Owned by ItemList; a list row keeps a pointer to it.
struct TItemInfo {
  QString FileName;         // the path's part after its last "/"; the row's caption
  int32_t DocHandle;        // engine handle held by the record, 0 when none
  int32_t PageCount;        // pages of the PDF when it was added
  int32_t OutputType;       // index into OutputTypeNames
  int32_t ColorDepth;       // 24 full colour, 8 gray
  int32_t JpegQuality;      // 1..100
  int32_t TiffCompression;  // handed to the engine's TIFF conversion
  int32_t TiffOption;       // likewise
  int32_t Resolution;       // dots per inch, both axes
  int32_t PageMode;         // 0 all pages, 1 SinglePage, 2 the pages of PageText
  int32_t SinglePage;
  QString PageText;    // "1-3,5" when PageMode is 2
  QString OutputName;  // FileName with ".jpg" for its extension
  QString SourcePath;  // the full path: a record's identity (exact comparison)
  int32_t Checked;     // 1 to convert; copied from the row's check box
};

// One range of pages, 1-based, inclusive.
struct RangePair {
  int32_t First;
  int32_t Last;
};

enum OutputTypeCode : int32_t {
  otTxt = 0,
  otWord,
  otRtf,
  otJpeg,
  otPng,
  otGif,
  otBmp,
  otPcx,
  otTga,
  otTiff,
  otNotExist
};
extern const char* const OutputTypeNames[11];

// The list, in insertion order; it owns its records.
extern QList<TItemInfo*> ItemList;

// Appends a record with the defaults and returns it.
TItemInfo* NewItem();
// Removes the record from the list, closes its engine handle and frees it.
void RemoveItem(TItemInfo* item);
// Closes every record's handle and frees it, in list order; empties the list.
void ClearItems();

// The record's page selection as text: "1-N", the single page, or PageText.
QString PageSelectionText(const TItemInfo& item);
// Appends the record's distinct page ranges to `ranges`; the number of pages they cover.
int32_t ParsePageSelection(const TItemInfo& item, QList<RangePair>& ranges);
// One "a", "a-b" piece against `pageCount`; writes first and last as it reads them.
bool ParseRange(const QString& piece, int32_t pageCount, int32_t& first, int32_t& last);
// The non-empty pieces of `text` between occurrences of `delimiter` (none for "").
QStringList SplitText(const QString& text, const QString& delimiter);

// The part of `path` after its last "/".
QString FileNameOf(const QString& path);
// `fileName` with what follows its last "." replaced by "jpg" (".jpg" appended without one).
QString OutputNameOf(const QString& fileName);
