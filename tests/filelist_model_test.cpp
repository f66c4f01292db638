#include <gtest/gtest.h>

#include "Data_unit1.h"
#include "MakePdf.h"
#include "Rastmond.h"
#include "TestSupport.h"

namespace {

class FileList : public ::testing::Test {
 protected:
  void TearDown() override { ClearItems(); }
};

TEST_F(FileList, NewItemHasTheDefaults) {
  TItemInfo* item = NewItem();
  ASSERT_EQ(ItemList.size(), 1);
  EXPECT_EQ(ItemList[0], item);
  EXPECT_EQ(item->OutputType, 0);
  EXPECT_STREQ(OutputTypeNames[item->OutputType], "Txt Format");
  EXPECT_STREQ(OutputTypeNames[otJpeg], "JPEG Format");
  EXPECT_STREQ(OutputTypeNames[otNotExist], "Not Exist");
  EXPECT_EQ(item->DocHandle, 0);
  EXPECT_EQ(item->PageCount, 0);
  EXPECT_EQ(item->ColorDepth, 24);
  EXPECT_EQ(item->JpegQuality, 75);
  EXPECT_EQ(item->TiffCompression, 1);
  EXPECT_EQ(item->TiffOption, 0);
  EXPECT_EQ(item->Resolution, 150);
  EXPECT_EQ(item->PageMode, 0);
  EXPECT_EQ(item->SinglePage, 1);
  EXPECT_TRUE(item->FileName.isEmpty() && item->PageText.isEmpty() && item->OutputName.isEmpty() &&
              item->SourcePath.isEmpty());
}

TEST_F(FileList, PageSelectionTextByMode) {
  TItemInfo* item = NewItem();
  item->PageCount = 7;
  EXPECT_EQ(PageSelectionText(*item), "1-7");
  item->PageCount = 1;
  EXPECT_EQ(PageSelectionText(*item), "1-1");
  item->PageMode = 1;
  item->SinglePage = 4;
  EXPECT_EQ(PageSelectionText(*item), "4");
  item->PageMode = 2;
  item->PageText = " 1-3, 5 ";
  EXPECT_EQ(PageSelectionText(*item), " 1-3, 5 ");
  item->PageMode = 3;
  EXPECT_EQ(PageSelectionText(*item), "");
}

TEST_F(FileList, PageSelectionsOfATenPageFile) {
  const struct {
    const char* text;
    std::vector<std::pair<int, int>> ranges;
    int total;
  } cases[] = {
      {"3", {{3, 3}}, 1},
      {"0", {}, 0},
      {"11", {}, 0},
      {"12-4", {}, 0},
      {"0-99", {{1, 10}}, 10},
      {"2-4, 2-4", {{2, 4}}, 3},
      {"1-5,3-7", {{1, 5}, {3, 7}}, 10},
      {"1-2-3", {}, 0},
      {"-3", {{3, 3}}, 1},
      {"7-", {{7, 7}}, 1},
      {" 2 , 4 ", {{2, 2}, {4, 4}}, 2},
      {"", {}, 0},
      {"1,,3,", {{1, 1}, {3, 3}}, 2},
      {"x", {}, 0},
  };
  TItemInfo* item = NewItem();
  item->PageCount = 10;
  item->PageMode = 2;
  for (const auto& c : cases) {
    item->PageText = QString::fromLatin1(c.text);
    QList<RangePair> ranges;
    EXPECT_EQ(ParsePageSelection(*item, ranges), c.total) << c.text;
    std::vector<std::pair<int, int>> got;
    for (const RangePair& r : ranges) got.emplace_back(r.First, r.Last);
    EXPECT_EQ(got, c.ranges) << c.text;
  }
  item->PageMode = 0;
  item->PageCount = 7;
  QList<RangePair> all;
  EXPECT_EQ(ParsePageSelection(*item, all), 7);
  ASSERT_EQ(all.size(), 1);
  EXPECT_EQ(all[0].First, 1);
  EXPECT_EQ(all[0].Last, 7);
}

TEST(ParseRange, LeavesTheOutValuesAloneOnAShapeItCannotRead) {
  int first = 42, last = 43;
  EXPECT_FALSE(ParseRange("1-2-3", 10, first, last));
  EXPECT_FALSE(ParseRange("", 10, first, last));
  EXPECT_EQ(first, 42);
  EXPECT_EQ(last, 43);
  EXPECT_FALSE(ParseRange("8-3", 10, first, last));  // read, then refused
  EXPECT_EQ(first, 8);
  EXPECT_EQ(last, 3);
}

TEST(SplitText, PiecesBetweenDelimiters) {
  EXPECT_EQ(SplitText("1,,3,", ","), (QStringList{"1", "3"}));
  EXPECT_EQ(SplitText("-5", "-"), (QStringList{"5"}));
  EXPECT_EQ(SplitText("a--b", "--"), (QStringList{"a", "b"}));
  EXPECT_EQ(SplitText(" a , b ", ","), (QStringList{" a ", " b "}));
  EXPECT_EQ(SplitText("abc", ""), QStringList{});
}

TEST(Names, FileAndOutputNames) {
  const struct {
    const char* path;
    const char* file;
    const char* output;
  } cases[] = {
      {"/home/u/scan.2010.pdf", "scan.2010.pdf", "scan.2010.jpg"},
      {"/a/a.b.c.pdf", "a.b.c.pdf", "a.b.c.jpg"},
      {"/a/notes", "notes", "notes.jpg"},
      {"report.PDF", "report.PDF", "report.jpg"},  // no "/": the whole path
      {"/a/b.dir/file", "file", "file.jpg"},
      {"/a/.hidden", ".hidden", ".jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameOf(c.path), c.file);
    EXPECT_EQ(OutputNameOf(c.file), c.output);
  }
}

TEST_F(FileList, RemovingKeepsTheOrderAndClosesTheHandle) {
  TempDir dir;
  const std::string pdf = (dir.Path() / "a.pdf").string();
  ASSERT_TRUE(MakeSamplePdf(pdf, 2));
  TItemInfo* a = NewItem();
  TItemInfo* b = NewItem();
  TItemInfo* c = NewItem();
  b->DocHandle = OpenPDF(pdf.c_str(), 0);
  ASSERT_GT(b->DocHandle, 0);
  const int handle = b->DocHandle;
  RemoveItem(b);
  EXPECT_EQ(ItemList, (QList<TItemInfo*>{a, c}));
  EXPECT_EQ(GetPageCount(handle), -1);  // closed
  ClearItems();
  EXPECT_TRUE(ItemList.isEmpty());
  ClearItems();  // an empty list: nothing happens
  EXPECT_TRUE(ItemList.isEmpty());
}

}  // namespace
