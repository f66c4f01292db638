#include "Data_unit1.h"

#include <algorithm>

#include "Rastmond.h"

const char* const OutputTypeNames[11] = {"Txt Format", "Word Format", "RTF Format", "JPEG Format",
                                         "PNG Format", "GIF Format",  "BMP Format", "PCX Format",
                                         "TGA Format", "TIFF Format", "Not Exist"};

QList<TItemInfo*> ItemList;

TItemInfo* NewItem() {
  auto* item = new TItemInfo{{}, 0, 0, otTxt, 24, 75, 1, 0, 150, 0, 1, {}, {}, {}, 0};
  ItemList.append(item);
  return item;
}

void RemoveItem(TItemInfo* item) {
  const qsizetype at = ItemList.indexOf(item);
  if (at < 0) return;
  ItemList.removeAt(at);
  ClosePDF(item->DocHandle);
  delete item;
}

void ClearItems() {
  for (TItemInfo* item : ItemList) {
    ClosePDF(item->DocHandle);
    delete item;
  }
  ItemList.clear();
}

QString PageSelectionText(const TItemInfo& item) {
  switch (item.PageMode) {
    case 0:
      return QStringLiteral("1-%1").arg(item.PageCount);
    case 1:
      return QString::number(item.SinglePage);
    case 2:
      return item.PageText;
    default:
      return {};
  }
}

QStringList SplitText(const QString& text, const QString& delimiter) {
  if (delimiter.isEmpty()) return {};
  return text.split(delimiter, Qt::SkipEmptyParts);
}

bool ParseRange(const QString& piece, int32_t pageCount, int32_t& first, int32_t& last) {
  const QStringList parts = SplitText(piece, QStringLiteral("-"));
  if (parts.size() == 1) {
    first = last = parts[0].toInt();  // not a number: 0
    return first >= 1 && first <= pageCount;
  }
  if (parts.size() != 2) return false;
  first = std::max(parts[0].toInt(), 1);
  last = std::min(parts[1].toInt(), pageCount);
  return last >= first;
}

int32_t ParsePageSelection(const TItemInfo& item, QList<RangePair>& ranges) {
  int32_t total = 0;
  for (const QString& raw : SplitText(PageSelectionText(item), QStringLiteral(","))) {
    const QString piece = raw.trimmed();
    int32_t first = 0, last = 0;
    if (piece.isEmpty() || !ParseRange(piece, item.PageCount, first, last)) continue;
    const bool repeated = std::any_of(ranges.begin(), ranges.end(), [&](const RangePair& r) {
      return r.First == first && r.Last == last;
    });
    if (repeated) continue;
    ranges.append({first, last});
    total += last - first + 1;
  }
  return total;
}

QString FileNameOf(const QString& path) {
  return path.mid(path.lastIndexOf(u'/') + 1);
}

QString OutputNameOf(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(u'.');
  return (dot < 0 ? fileName : fileName.left(dot)) + QStringLiteral(".jpg");
}
