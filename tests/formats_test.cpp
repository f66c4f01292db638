// The engine's other output types, each file read back by a standard decoder: Qt's readers
// for PNG, BMP and GIF, netpbm's for TGA and PCX, libtiff for TIFF. Small bands and several
// threads make every page many bands, so the joins between bands are decoded too.
#include <tiffio.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <vector>

#include <gtest/gtest.h>

#include "Engine.h"
#include "MakePdf.h"
#include "TestSupport.h"

namespace {

using rastmond::SetBandBytes;
using rastmond::SetRenderThreads;

// 201 x 151 points: odd sizes, so rows need padding. Red, green and blue blocks, a gray bar,
// a black diagonal and text; page 2 only grays.
const char* const kColourPage =
    "1 0 0 rg 0 0 67 151 re f 0 1 0 rg 67 0 67 75 re f 0 0 1 rg 134 75 67 76 re f "
    "0.5 g 67 75 67 76 re f 0 G 2 w 0 0 m 201 151 l S "
    "BT /F1 14 Tf 0 g 10 130 Td (Text 1) Tj ET";
const char* const kGrayPage = "0.25 g 0 0 100 151 re f 0.75 g 100 0 101 151 re f";

class Formats : public ::testing::Test {
 protected:
  void SetUp() override {
    root = QString::fromStdString(dir.Path().string()) + "/";
    ASSERT_TRUE(MakePdf((root + "in.pdf").toStdString(),
                        {TestPage{201, 151, kColourPage}, TestPage{201, 151, kGrayPage},
                         TestPage{201, 151, kColourPage}}));
    handle = OpenPDF((root + "in.pdf").toUtf8().constData(), 0);
    ASSERT_GT(handle, 0);
    SetBandBytes(201 * 3 * 16);  // 16-row bands
    SetRenderThreads(3);
    QDir().mkpath(root + "out");
  }
  void TearDown() override {
    ClosePDF(handle);
    SetBandBytes(0);
    SetRenderThreads(0);
  }
  QString Out(const QString& name) { return root + "out/" + name; }
  QStringList Files() {
    QStringList files = QDir(root + "out").entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
  }
  // netpbm's decoder into PPM, which Qt reads.
  QImage ViaNetpbm(const char* tool, const QString& path) {
    QProcess process;
    process.start(tool, {path});
    process.waitForFinished(30000);
    return QImage::fromData(process.readAllStandardOutput(), "PPM");
  }
  static QImage ReadTiff(const QString& path, int directory, int* directories = nullptr,
                         uint16_t* channels = nullptr) {
    TIFFSetWarningHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.toUtf8().constData(), "r");
    if (!tiff) return {};
    if (directories) *directories = TIFFNumberOfDirectories(tiff);
    QImage image;
    uint32_t w = 0, h = 0;
    if (TIFFSetDirectory(tiff, directory) && TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w) &&
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h)) {
      if (channels) TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, channels);
      std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h);
      if (TIFFReadRGBAImageOriented(tiff, w, h, pixels.data(), ORIENTATION_TOPLEFT, 0)) {
        image = QImage(w, h, QImage::Format_RGB32);
        for (uint32_t y = 0; y < h; ++y)
          for (uint32_t x = 0; x < w; ++x) {
            const uint32_t p = pixels[y * w + x];
            image.setPixel(x, y, qRgb(TIFFGetR(p), TIFFGetG(p), TIFFGetB(p)));
          }
      }
    }
    TIFFClose(tiff);
    return image;
  }
  // The largest difference of any channel of any pixel.
  static int Difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
      }
    return worst;
  }

  TempDir dir;
  QString root;
  int handle = 0;
};

TEST_F(Formats, PngHasTheRenderedPixels) {
  ASSERT_EQ(PDF2PNG(handle, Out("").toUtf8(), "p", 72, 72, 1, 3, nullptr), 0);
  EXPECT_EQ(Files(), (QStringList{"p-1.png", "p-2.png", "p-3.png"}));
  const QImage page(Out("p-1.png"));
  ASSERT_EQ(page.size(), QSize(201, 151));
  EXPECT_EQ(page.pixel(30, 100), qRgb(255, 0, 0));
  EXPECT_EQ(page.pixel(100, 120), qRgb(0, 255, 0));
  EXPECT_EQ(page.pixel(170, 20), qRgb(0, 0, 255));
  EXPECT_EQ(page.pixel(190, 140), qRgb(255, 255, 255));
  EXPECT_NEAR(qRed(page.pixel(80, 40)), 128, 1);
  EXPECT_EQ(Difference(page, QImage(Out("p-3.png"))), 0);  // the same page in other bands
  EXPECT_FALSE(page.allGray());
  EXPECT_EQ(page.dotsPerMeterX(), 2835);  // 72 dpi
}

// The lossless formats give exactly the PNG's pixels.
TEST_F(Formats, LosslessFormatsMatchThePng) {
  ASSERT_EQ(PDF2PNG(handle, Out("").toUtf8(), "ref", 72, 72, 1, 2, nullptr), 0);
  const struct {
    const char* name;
    int (*call)(int, const char*, const char*, int, int, int, int, ProgressCallback);
    const char* extension;
    const char* netpbm;  // nullptr: Qt reads it
  } cases[] = {{"bmp", PDF2BMP, ".bmp", nullptr},
               {"tga", PDF2TGA, ".tga", "tgatoppm"},
               {"pcx", PDF2PCX, ".pcx", "pcxtoppm"}};
  for (const auto& c : cases) {
    ASSERT_EQ(c.call(handle, Out("").toUtf8(), c.name, 72, 72, 1, 2, nullptr), 0) << c.name;
    for (int page = 1; page <= 2; ++page) {
      const QString file = Out(QString("%1-%2%3").arg(c.name).arg(page).arg(c.extension));
      const QImage image = c.netpbm ? ViaNetpbm(c.netpbm, file) : QImage(file);
      EXPECT_EQ(image.size(), QSize(201, 151)) << c.name;
      EXPECT_EQ(Difference(image, QImage(Out(QString("ref-%1.png").arg(page)))), 0) << c.name;
    }
  }
}

TEST_F(Formats, TiffCompressionsDepthsAndPages) {
  ASSERT_EQ(PDF2PNG(handle, Out("").toUtf8(), "ref", 72, 72, 1, 1, nullptr), 0);
  const QImage reference(Out("ref-1.png"));
  const struct {
    int compression, depth, tolerance;
    uint16_t channels;
  } cases[] = {{1, 24, 0, 3},  {5, 24, 0, 3}, {8, 24, 0, 3},
               {7, 24, 40, 3}, {4, 24, 0, 3},  // unknown: none
               {5, 8, 1, 1}};
  int n = 0;
  for (const auto& c : cases) {
    const std::string base = "t" + std::to_string(n++);
    ASSERT_EQ(PDF2TIF(handle, Out("").toUtf8(), base.c_str(), 72, 72, 1, 1, nullptr, c.compression,
                      c.depth, 0),
              0);
    uint16_t channels = 0;
    const QImage image =
        ReadTiff(Out(QString::fromStdString(base) + "-1.tif"), 0, nullptr, &channels);
    EXPECT_EQ(channels, c.channels) << base;
    if (c.depth == 8) {
      EXPECT_TRUE(image.allGray());
      EXPECT_EQ(image.size(), reference.size());
      EXPECT_NEAR(qRed(image.pixel(80, 40)), 128, 1);  // the gray bar
      EXPECT_EQ(qRed(image.pixel(190, 140)), 255);
    } else {
      EXPECT_LE(Difference(image, reference), c.tolerance) << base;
    }
  }

  // One file of three pages, in order.
  ASSERT_EQ(PDF2TIF(handle, Out("").toUtf8(), "multi", 72, 72, 1, 3, nullptr, 8, 24, 1), 0);
  int directories = 0;
  EXPECT_EQ(Difference(ReadTiff(Out("multi.tif"), 0, &directories), reference), 0);
  EXPECT_EQ(directories, 3);
  EXPECT_TRUE(ReadTiff(Out("multi.tif"), 1).allGray());
  EXPECT_FALSE(QDir(root + "out").entryList({"multi-*"}, QDir::Files).size());
  EXPECT_TRUE(QDir(root + "out").entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(Formats, AStoppedMultiPageTiffLeavesNothing) {
  static int calls;
  calls = 0;
  const ProgressCallback stopAtTwo = [](int, int, int page) { return ++calls, page == 2 ? 0 : 1; };
  EXPECT_EQ(PDF2TIF(handle, Out("").toUtf8(), "multi", 72, 72, 1, 3, stopAtTwo, 1, 24, 1), -4);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(Files().isEmpty()) << Files().join(",").toStdString();
}

TEST_F(Formats, GifIsExactForGrayPagesAndDitheredForColour) {
  ASSERT_EQ(PDF2PNG(handle, Out("").toUtf8(), "ref", 72, 72, 1, 2, nullptr), 0);
  ASSERT_EQ(PDF2GIF(handle, Out("").toUtf8(), "g", 72, 72, 1, 2, nullptr), 0);
  const QImage gray(Out("g-2.gif")), colour(Out("g-1.gif")), reference(Out("ref-1.png"));
  ASSERT_EQ(gray.size(), QSize(201, 151));
  EXPECT_EQ(Difference(gray, QImage(Out("ref-2.png"))), 0);
  ASSERT_EQ(colour.size(), QSize(201, 151));
  // Colours of the cube stay exact; the gray bar is dithered around its value.
  for (QPoint p : {QPoint(30, 100), QPoint(100, 120), QPoint(170, 20), QPoint(190, 140)})
    EXPECT_EQ(colour.pixel(p), reference.pixel(p));
  double sum = 0;
  for (int y = 30; y < 50; ++y)
    for (int x = 75; x < 95; ++x) sum += qRed(colour.pixel(x, y));
  EXPECT_NEAR(sum / 400, 128, 4);
}

TEST_F(Formats, GifCodesStayInStepOverLongBands) {
  // A noisy page fills the LZW table many times within a band and across band joins.
  std::string noise = "";
  for (int i = 0; i < 400; ++i)
    noise += std::to_string(i % 7 / 6.0) + " " + std::to_string(i % 5 / 4.0) + " " +
             std::to_string(i % 3 / 2.0) + " rg " + std::to_string(i * 37 % 601) + " " +
             std::to_string(i * 53 % 401) + " 7 5 re f ";
  ASSERT_TRUE(MakePdf((root + "noise.pdf").toStdString(), {TestPage{600, 400, noise}}));
  const int noisy = OpenPDF((root + "noise.pdf").toUtf8().constData(), 0);
  SetBandBytes(600 * 3 * 100);
  ASSERT_EQ(PDF2GIF(noisy, Out("").toUtf8(), "n", 150, 150, 1, 1, nullptr), 0);
  ASSERT_EQ(PDF2PNG(noisy, Out("").toUtf8(), "n", 150, 150, 1, 1, nullptr), 0);
  ClosePDF(noisy);
  const QImage gif(Out("n-1.gif")), png(Out("n-1.png"));
  ASSERT_EQ(gif.size(), png.size());
  ASSERT_EQ(gif.width(), 1250);
  // Every pixel within one dithering step of the cube (51 for red and blue, 43 for green).
  EXPECT_LE(Difference(gif, png), 51);
}

TEST_F(Formats, TextInPageListOrder) {
  ASSERT_TRUE(MakeSamplePdf((root + "text.pdf").toStdString(), 4));
  const int doc = OpenPDF((root + "text.pdf").toUtf8().constData(), 0);
  static std::vector<int> pages;
  pages.clear();
  const ProgressCallback record = [](int, int, int page) { return pages.push_back(page), 1; };
  ASSERT_EQ(PDF2TXT(doc, "3,1-2,9", Out("a.txt").toUtf8(), 0, record), 0);
  EXPECT_EQ(pages, (std::vector<int>{3, 1, 2}));
  QFile txt(Out("a.txt"));
  ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
  const QList<QByteArray> parts = txt.readAll().split('\f');
  ASSERT_EQ(parts.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(parts[i].contains(QByteArray("Page ") + "312"[i])) << parts[i].toStdString();
    EXPECT_TRUE(parts[i].contains("The quick brown fox jumps over the lazy dog."));
  }

  pages.clear();
  ASSERT_EQ(PDF2RTF(doc, "2-3", Out("a.rtf").toUtf8(), record), 0);
  EXPECT_EQ(pages, (std::vector<int>{2, 2, 3, 3}));
  QFile rtf(Out("a.rtf"));
  ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
  const QByteArray document = rtf.readAll();
  EXPECT_TRUE(document.startsWith("{\\rtf1"));
  EXPECT_EQ(document.count("\\page\n"), 1);
  EXPECT_LT(document.indexOf("Page 2"), document.indexOf("Page 3"));
  EXPECT_TRUE(document.trimmed().endsWith("}"));
  EXPECT_EQ(document.count('{'), document.count('}'));
  ClosePDF(doc);
  EXPECT_EQ(Files(), (QStringList{"a.rtf", "a.txt"}));
}

TEST_F(Formats, RefusedDocuments) {
  PdfOptions noCopy;
  noCopy.ownerPassword = "owner";
  noCopy.permissions = 4;  // printing only
  PdfOptions locked;
  locked.userPassword = "user";
  ASSERT_TRUE(MakePdf((root + "nocopy.pdf").toStdString(), {TestPage{}}, noCopy));
  ASSERT_TRUE(MakePdf((root + "locked.pdf").toStdString(), {TestPage{}}, locked));
  const struct {
    const char* file;
    int expected;
  } cases[] = {{"nocopy.pdf", -3}, {"locked.pdf", -2}};
  for (const auto& c : cases) {
    const int doc = OpenPDF((root + c.file).toUtf8().constData(), 0);
    ASSERT_GT(doc, 0) << c.file;
    EXPECT_EQ(PDF2TXT(doc, "1", Out("x.txt").toUtf8(), 0, nullptr), c.expected) << c.file;
    EXPECT_EQ(PDF2RTF(doc, "1", Out("x.rtf").toUtf8(), nullptr), c.expected) << c.file;
    // Images are rendered as for viewing, so only the password stops them.
    const int image = c.expected == -2 ? -2 : 0;
    EXPECT_EQ(PDF2TIF(doc, Out("").toUtf8(), "m", 20, 20, 1, 1, nullptr, 1, 24, 1), image)
        << c.file;
    EXPECT_EQ(PDF2GIF(doc, Out("").toUtf8(), "g", 20, 20, 1, 1, nullptr), image) << c.file;
    QFile::remove(Out("m.tif"));
    QFile::remove(Out("g-1.gif"));
    ClosePDF(doc);
  }
  EXPECT_EQ(PDF2TXT(handle, "1", (root + "missing/x.txt").toUtf8(), 0, nullptr), -1);
  EXPECT_EQ(PDF2TXT(987, "1", Out("x.txt").toUtf8(), 0, nullptr), -1);
  EXPECT_TRUE(Files().isEmpty());
}

}  // namespace
