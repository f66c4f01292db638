#include <QBuffer>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include "MessageBox.h"
#include "Skin.h"
#include "TestSupport.h"

namespace {

constexpr QRgb M = 0xFFFF00FF, B = 0xFF000000, W = 0xFFFFFFFF;

QImage Bitmap(int width, int height, const std::vector<QRgb>& pixels,
              QImage::Format format = QImage::Format_RGB888) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int i = 0; i < width * height; ++i) image.setPixel(i % width, i / width, pixels[i]);
  return image.convertToFormat(format);
}

// Regions hold the same pixels (however their rectangles are cut).
bool Same(const QRegion& a, const QRegion& b) {
  return a.xored(b).isEmpty();
}

QRegion Rects(const std::vector<QRect>& rects) {
  QRegion region;
  for (const QRect& r : rects) region += r;
  return region;
}

// A 24-bit BMP file of `image`, rows stored bottom-up (positive height) or top-down.
QByteArray BmpFile(const QImage& image, bool bottomUp) {
  const int w = image.width(), h = image.height(), stride = (w * 3 + 3) / 4 * 4;
  QByteArray data(54 + stride * h, '\0');
  auto put32 = [&](int at, int32_t v) { std::memcpy(data.data() + at, &v, 4); };
  data[0] = 'B';
  data[1] = 'M';
  put32(2, static_cast<int32_t>(data.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, bottomUp ? h : -h);
  data[26] = 1;
  data[28] = 24;
  for (int y = 0; y < h; ++y) {
    const int row = bottomUp ? h - 1 - y : y;
    for (int x = 0; x < w; ++x) {
      const QRgb p = image.pixel(x, y);
      char* at = data.data() + 54 + row * stride + x * 3;
      at[0] = static_cast<char>(qBlue(p));
      at[1] = static_cast<char>(qGreen(p));
      at[2] = static_cast<char>(qRed(p));
    }
  }
  return data;
}

TEST(BitmapRegion, OpaqueRunsRowByRow) {
  const struct {
    int width, height;
    std::vector<QRgb> pixels;
    std::vector<QRect> shape;
  } cases[] = {
      {3, 1, {M, B, B}, {{1, 0, 2, 1}}},  // the row's last pixel belongs to the run
      {4, 1, {B, W, B, B}, {{0, 0, 4, 1}}},
      {5, 1, {B, M, B, B, M}, {{0, 0, 1, 1}, {2, 0, 2, 1}}},
      {3, 1, {M, M, M}, {}},
      {2, 2, {B, M, M, B}, {{0, 0, 1, 1}, {1, 1, 1, 1}}},
      {3, 1, {M, qRgb(254, 0, 255), qRgb(255, 1, 255)}, {{1, 0, 2, 1}}},  // one unit off
  };
  for (const auto& c : cases) {
    const QImage image = Bitmap(c.width, c.height, c.pixels);
    EXPECT_TRUE(Same(BitmapRegion(image, clFuchsia), Rects(c.shape)));
    // A 32-bit picture is shaped from its 24-bit form.
    EXPECT_TRUE(Same(BitmapRegion(image.convertToFormat(QImage::Format_ARGB32), clFuchsia),
                     Rects(c.shape)));
  }
  // A system colour matches no pixel.
  EXPECT_TRUE(Same(BitmapRegion(Bitmap(3, 1, {M, M, M}), clBtnFace), QRegion(0, 0, 3, 1)));
}

TEST(BitmapRegion, BottomUpAndTopDownFilesGiveOneShape) {
  const QImage image = Bitmap(3, 2, {M, B, B, B, M, M});
  QImage bottomUp, topDown;
  ASSERT_TRUE(bottomUp.loadFromData(BmpFile(image, true), "BMP"));
  ASSERT_TRUE(topDown.loadFromData(BmpFile(image, false), "BMP"));
  const QRegion expected = Rects({{1, 0, 2, 1}, {0, 1, 1, 1}});
  EXPECT_TRUE(Same(BitmapRegion(bottomUp, clFuchsia), expected));
  EXPECT_TRUE(Same(BitmapRegion(topDown, clFuchsia), expected));
}

TEST(SkinForm, ShapesAndSizesItsForm) {
  QWidget form;
  TssSkinForm skin(&form);
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  int changes = 0;
  skin.OnRegionChanged = [&](QWidget*) { ++changes; };
  QImage glyph = Bitmap(4, 3, {M, B, B, M, B, B, B, B, M, B, B, M});
  skin.SetPicture(glyph);
  EXPECT_EQ(form.size(), QSize(4, 3));
  EXPECT_EQ(skin.geometry(), QRect(0, 0, 4, 3));
  EXPECT_TRUE(Same(form.mask(), BitmapRegion(glyph, clFuchsia)));
  skin.SetColor(clBtnFace);
  EXPECT_TRUE(Same(form.mask(), QRegion(0, 0, 4, 3)));
  EXPECT_EQ(changes, 2);

  // Every scaling starts from the glyph as last scaled.
  skin.ChangeScale(2, 1);
  EXPECT_EQ(skin.Glyph().size(), QSize(8, 6));
  EXPECT_EQ(form.size(), QSize(8, 6));
  skin.ChangeScale(3, 2);
  EXPECT_EQ(skin.Glyph().size(), QSize(12, 9));
  // A glyph set later is scaled by the last factor.
  skin.SetPicture(Bitmap(2, 2, {B, B, B, B}));
  EXPECT_EQ(skin.Glyph().size(), QSize(3, 3));
}

TEST(SkinForm, WithoutAGlyphDrawsAFrameAndLeavesTheFormUnshaped) {
  QWidget form;
  TssSkinForm skin(&form);
  EXPECT_TRUE(form.mask().isEmpty());
  const QImage shot = skin.grab().toImage();
  EXPECT_EQ(shot.pixel(0, 0), B);
  EXPECT_EQ(shot.pixel(199, 99), B);
  EXPECT_NE(shot.pixel(100, 50), B);
}

// A skin of `strips` strips of 10 x 8, strip k in colour k.
const QRgb kStripColours[4] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};
QImage StripSkin(int strips) {
  QImage skin(10 * strips, 8, QImage::Format_RGB888);
  for (int k = 0; k < strips; ++k)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) skin.setPixel(10 * k + x, y, kStripColours[k]);
  return skin;
}

int ShownStrip(TssSkinButton& button) {
  const QRgb shown = button.grab().toImage().pixel(5, 4);
  for (int k = 0; k < 4; ++k)
    if (shown == kStripColours[k]) return k;
  return -1;
}

TEST(SkinButton, StripForEachStateAndStripCount) {
  // Strip shown for disabled, pressed, hover, normal.
  const int table[4][4] = {{0, 0, 0, 0}, {0, 0, 1, 0}, {0, 2, 1, 0}, {3, 2, 1, 0}};
  for (int n = 1; n <= 4; ++n) {
    TssSkinButton button;
    button.SetDivNum(n);
    button.SetSkin(StripSkin(n));
    EXPECT_EQ(button.size(), QSize(10, 8));
    EXPECT_EQ(ShownStrip(button), table[n - 1][3]) << n;
    button.MouseEntered();
    EXPECT_EQ(ShownStrip(button), table[n - 1][2]) << n;
    button.MouseDownAt(Qt::LeftButton, 5, 4);
    EXPECT_EQ(ShownStrip(button), table[n - 1][1]) << n;
    button.setEnabled(false);
    EXPECT_EQ(ShownStrip(button), table[n - 1][0]) << n;
  }
  TssSkinButton button;
  for (const int ignored : {0, 5, -1}) {
    button.SetDivNum(ignored);
    EXPECT_EQ(button.DivNum(), 3);
  }
}

TEST(SkinButton, WithoutASkinItKeepsAPlaceholderSize) {
  TssSkinButton button;
  button.SetName("btnNoSkin");
  button.grab();
  EXPECT_EQ(button.size(), QSize(50, 30));
  button.SetSkin(QImage());  // an empty picture: a black frame
  EXPECT_EQ(button.grab().toImage().pixel(0, 0), B);
}

TEST(SkinButton, ClicksOnlyOnALeftReleaseOverIt) {
  TssSkinButton button;
  button.SetSkin(StripSkin(3));
  int clicks = 0;
  button.OnClick = [&](QWidget*) { ++clicks; };

  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 4));
  EXPECT_EQ(clicks, 1);
  button.MouseDownAt(Qt::LeftButton, 5, 4);
  button.MouseMoveAt(Qt::LeftButton, 11, 4);  // dragged off
  EXPECT_FALSE(button.MouseIsDown());
  button.MouseUpAt(Qt::LeftButton, 5, 4);
  EXPECT_EQ(clicks, 1);
  button.MouseDownAt(Qt::LeftButton, 5, 4);
  button.MouseMoveAt(Qt::LeftButton, 10, 8);  // the right and bottom edges are inside
  button.MouseUpAt(Qt::LeftButton, 10, 8);
  EXPECT_EQ(clicks, 2);
  button.MouseDownAt(Qt::RightButton, 5, 4);
  button.MouseUpAt(Qt::RightButton, 5, 4);
  button.Click();  // from code: nothing
  EXPECT_EQ(clicks, 2);
  button.setEnabled(false);
  button.MouseDownAt(Qt::LeftButton, 5, 4);
  button.MouseUpAt(Qt::LeftButton, 5, 4);
  EXPECT_EQ(clicks, 2);
}

TEST(SkinButton, ModalResultAndAction) {
  QDialog dialog;
  TssSkinButton close(&dialog), keep(&dialog), act(&dialog);
  for (TssSkinButton* b : {&close, &keep, &act}) b->SetSkin(StripSkin(3));
  close.SetModalResult(2);
  int seen = -1;
  keep.OnClick = [&](QWidget*) { seen = dialog.result(); };
  QAction action;
  int triggered = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
  act.SetAction(&action);

  dialog.open();
  dialog.setResult(5);
  QTest::mouseClick(&keep, Qt::LeftButton, {}, QPoint(5, 4));
  EXPECT_EQ(seen, 0);  // reset before the handler runs
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(&act, Qt::LeftButton, {}, QPoint(5, 4));
  EXPECT_EQ(triggered, 1);
  action.setEnabled(false);
  EXPECT_FALSE(act.isEnabled());
  QTest::mouseClick(&close, Qt::LeftButton, {}, QPoint(5, 4));
  EXPECT_EQ(dialog.result(), 2);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(SkinButton, ScalesAndMasksFromTheSkinAsSet) {
  TssSkinButton button;
  QImage skin(66, 17, QImage::Format_RGB888);
  skin.fill(Qt::black);
  skin.setPixel(0, 0, M);  // a cut corner in the normal strip
  button.SetSkin(skin);
  button.SetMask(true);
  EXPECT_TRUE(Same(button.mask(), QRegion(0, 0, 22, 17) - QRegion(0, 0, 1, 1)));
  for (int i = 0; i < 2; ++i) {  // the last factor alone counts
    button.ChangeScale(120, 96);
    EXPECT_EQ(button.ScaledSkin()->size(), QSize(84, 21));
    EXPECT_EQ(button.size(), QSize(28, 21));
  }
  button.SetMask(false);
  EXPECT_TRUE(button.mask().isEmpty());
}

TEST(LinkButton, MirrorsHoverAndRefusesACycle) {
  TssLinkButton a, b;
  a.SetLinkButton(&b);
  a.MouseEntered();
  EXPECT_TRUE(b.MouseOn());
  a.MouseLeft();
  EXPECT_FALSE(b.MouseOn());

  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  SetMessageBoxHook([&](QWidget*, QMessageBox::Icon i, const QString&, const QString& t,
                        QMessageBox::StandardButtons) {
    icon = i;
    text = t;
    return QMessageBox::Ok;
  });
  b.SetLinkButton(&a);
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(text, QString::fromUtf8("ButtonToLink 属性不能循环指定！ "));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(b.ButtonToLink(), nullptr);
}

// A bar on a parent, with a fill (and a thumb) from files the test writes.
struct Bar {
  TempDir dir;
  QWidget parent;
  TSkinProcess bar{&parent};
  QString Write(const QString& name, const QImage& image) {
    const QString path = QString::fromStdString((dir.Path() / name.toStdString()).string());
    image.save(path, "BMP");
    return path;
  }
  Bar(QRect geometry) {
    bar.setGeometry(geometry);
    QImage fill(16, 10, QImage::Format_RGB888);
    fill.fill(Qt::blue);
    bar.SetImage2(Write("progress.bmp", fill));
  }
};

TEST(SkinProcess, FillWidthsOfTheConversionBar) {
  Bar b({23, 82, 411, 22});
  b.bar.SetBaseLine(22 / 2 + 1);
  b.bar.SetExtRange(0, 411);
  EXPECT_EQ(b.bar.Image2()->geometry(), QRect(23, 82 + 12 - 5, 0, 10));
  const int widths[][2] = {{0, 0}, {1, 4}, {50, 205}, {99, 406}, {100, 411}};
  for (const auto& w : widths) {
    b.bar.Setprocess(w[0]);
    EXPECT_EQ(b.bar.Image2()->width(), w[1]) << w[0];
    EXPECT_EQ(b.bar.Image2()->x(), 23);
    EXPECT_EQ(b.bar.Getprocess(), 0);  // no thumb
  }
  EXPECT_THROW(b.bar.SetImage2(b.Write("x", QImage()) + ".missing"), std::runtime_error);
}

TEST(SkinProcess, BaseLineIsScaledRangeIsNot) {
  Bar b({0, 0, 411, 22});
  b.bar.ChangeScale(120, 96);
  b.bar.SetBaseLine(12);
  EXPECT_EQ(b.bar.Image2()->y(), 15 - 5);
  b.bar.SetExtRange(0, 411);
  b.bar.Setprocess(100);
  EXPECT_EQ(b.bar.Image2()->width(), 411);
}

TEST(SkinProcess, ThumbFollowsTheValueTheMouseAndItsLimits) {
  Bar b({50, 0, 440, 22});
  QImage thumb(30, 10, QImage::Format_RGB888);
  thumb.fill(Qt::gray);
  b.bar.SetImage3(b.Write("thumb.bmp", thumb));
  b.bar.SetExtRange(20, 400);
  TssSkinButton& t = *b.bar.Image3();
  EXPECT_EQ(t.x() + 5, 70);  // centred on the range's start
  b.bar.Setprocess(50);
  EXPECT_EQ(t.x() + 5, 270);
  EXPECT_EQ(b.bar.Image2()->width(), 200);
  EXPECT_EQ(b.bar.Getprocess(), 50);

  std::vector<int> changes;
  b.bar.OnProcessChange = [&](int v) { changes.push_back(v); };
  QTest::mouseClick(&b.bar, Qt::LeftButton, {}, QPoint(10, 5));  // left of the range
  EXPECT_EQ(t.x() + 5, 70);
  EXPECT_EQ(changes, std::vector<int>{0});

  changes.clear();
  b.bar.Image3OnMouseDown(&t, Qt::LeftButton, 5, 5);
  b.bar.Image3OnMouseMove(&t, Qt::LeftButton, 105, 5);
  b.bar.Image3OnMouseMove(&t, Qt::LeftButton, 105, 5);
  EXPECT_EQ(t.x() + 5, 270);
  EXPECT_EQ(b.bar.Image2()->width(), 200);  // the fill ends under the thumb
  EXPECT_TRUE(changes.empty());
  b.bar.Image3OnMouseUp(&t, Qt::LeftButton, 5, 5);
  EXPECT_EQ(changes, std::vector<int>{50});
  b.bar.SetMoveChangeNotify(true);
  b.bar.Image3OnMouseDown(&t, Qt::LeftButton, 5, 5);
  b.bar.Image3OnMouseMove(&t, Qt::LeftButton, 45, 5);
  EXPECT_EQ(changes, (std::vector<int>{50, 60}));
  b.bar.Image3OnMouseUp(&t, Qt::LeftButton, 5, 5);

  // A fixed fill from 150 to 350: the thumb stays on it, or on the range in free mode.
  b.bar.SetImage2Range(100, 200);
  for (const bool free : {false, true}) {
    b.bar.SetFreeMode(free);
    b.bar.Image3OnMouseDown(&t, Qt::LeftButton, 5, 5);
    b.bar.Image3OnMouseMove(&t, Qt::LeftButton, 1000, 5);
    EXPECT_EQ(t.x() + 5, free ? 470 : 350);
    b.bar.Image3OnMouseMove(&t, Qt::LeftButton, -1000, 5);
    EXPECT_EQ(t.x() + 5, free ? 70 : 150);
    b.bar.Image3OnMouseUp(&t, Qt::LeftButton, 5, 5);
    EXPECT_EQ(b.bar.Image2()->width(), 200);
  }
}

}  // namespace
