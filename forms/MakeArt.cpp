// MakeArt: draws the skin artwork of the five windows and writes it as 24-bit BMP files.
//
// Usage: MakeArt <output-folder>   (needs a QGuiApplication; run with QT_QPA_PLATFORM=offscreen)
//
// Convention for every file: 24 bits per pixel, uncompressed, bottom-up rows; pure magenta
// (255, 0, 255) is the transparent colour and appears nowhere else. Window corners are cut with
// a hard (not anti-aliased) edge, so no pinkish pixel stays opaque. Button skins hold three
// strips side by side, each as large as the button: normal, under the mouse (lighter), held
// down (darker/greyed, content offset by one pixel). Each strip is painted over the copy of
// the window background that lies under the button, so a button's rounded corners blend into
// the window exactly and need no magenta.
//
// Files (width x height; "3 x W" means three strips of W pixels):
//   main_bg.bmp               831 x 572   main window background and shape
//   main_toolbar.bmp          321 x  23   band behind the menu bar (at 46, 28)
//   main_face.bmp             564 x 322   picture shown in place of the empty file list
//   main_btn_min.bmp           66 x  18   3 x 22, minimise
//   main_btn_close.bmp         66 x  18   3 x 22, close cross
//   main_btn_addfile.bmp      195 x  67   3 x 65, "Add File"
//   main_btn_addfolder.bmp    195 x  67   3 x 65, "Add Folder"
//   main_btn_selectall.bmp    195 x  67   3 x 65, "Select All"
//   main_btn_delete.bmp       195 x  67   3 x 65, "Delete"
//   main_btn_clearall.bmp     195 x  67   3 x 65, "Clear All"
//   main_btn_convert.bmp      231 x  67   3 x 77, "Convert"
//   main_btn_browse.bmp       228 x  25   3 x 76, "Browse..."
//   main_btn_open.bmp         228 x  25   3 x 76, "Open Folder"
//   addfile_bg.bmp            527 x 226   add-file dialog background and shape
//   addfile_btn_close.bmp      66 x  17   3 x 22, close cross
//   addfile_btn_ok.bmp        237 x  25   3 x 79, "OK"
//   addfile_btn_cancel.bmp    237 x  25   3 x 79, "Cancel"
//   convert_bg.bmp            459 x 187   conversion dialog background, with the bar's groove
//   convert_btn_close.bmp      60 x  16   3 x 20, close cross
//   convert_btn_stop.bmp      231 x  27   3 x 77, "Stop"
//   replace_bg.bmp            527 x 226   overwrite prompt background and shape
//   replace_btn_ok.bmp        228 x  23   3 x 76, "OK"
//   replace_btn_cancel.bmp    228 x  23   3 x 76, "Cancel"
//   about_bg.bmp              418 x 263   about dialog background and shape
//   about_btn_ok.bmp          228 x  23   3 x 76, "OK"
//   about_btn_close.bmp        60 x  16   3 x 20, close cross
//   Skins/about.bmp           396 x  62   product banner of the about dialog
//   Skins/progress.bmp         16 x  20   progress bar fill, stretched to the bar's value
//
// The progress fill is 20 pixels high: the bar centres it 12 pixels below its top, so in the
// conversion dialog it covers rows 84 to 103 and, at 100 %, columns 23 to 433. The groove in
// the dialog's background frames exactly that rectangle.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// ---------------------------------------------------------------------------------------------
// Palette and fonts

const QRgb kMagenta = qRgb(255, 0, 255);

const QColor kNavy(0x16, 0x3d, 0x7a);       // title bands
const QColor kBlue(0x1f, 0x5f, 0xc8);       // accent: menu band, primary buttons, icons
const QColor kBlueLight(0x3a, 0x78, 0xde);  // accent under the mouse
const QColor kBlueDark(0x17, 0x47, 0x9a);   // accent held down
const QColor kBody(0xee, 0xf1, 0xf6);       // window body
const QColor kPanel(0xff, 0xff, 0xff);      // content panels
const QColor kFooter(0xe3, 0xe8, 0xef);     // button band of the dialogs
const QColor kRule(0xc4, 0xcc, 0xd9);       // hairlines and panel borders
const QColor kText(0x1d, 0x28, 0x38);
const QColor kTextMuted(0x5b, 0x67, 0x78);
const QColor kGreen(0x2e, 0x9e, 0x53);
const QColor kRed(0xe0, 0x45, 0x3a);
const QColor kRedDark(0xa8, 0x32, 0x2a);
const QColor kSun(0xf5, 0xb8, 0x2e);
const QColor kSky(0xd9, 0xe8, 0xff);

const char* const kFamily = "Liberation Sans";
const char* const kProduct = "Ostrel PDF to JPEG";

QFont sans(int pixels, bool bold = false) {
  QFont font(QString::fromLatin1(kFamily));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// The largest font up to `pixels` in which each of `texts` fits into `width`, so that a row
// of buttons shares one size.
QFont fitted(const QStringList& texts, int pixels, bool bold, qreal width) {
  QFont font = sans(pixels, bold);
  auto fits = [&] {
    for (const QString& text : texts)
      if (QFontMetricsF(font).horizontalAdvance(text) > width) return false;
    return true;
  };
  while (pixels > 8 && !fits()) font = sans(--pixels, bold);
  return font;
}

void drawText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
              const QColor& colour) {
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, flags, text);
}

// ---------------------------------------------------------------------------------------------
// Output

// Writes the image as an uncompressed 24-bit BMP (14-byte file header, 40-byte information
// header, bottom-up rows padded to four bytes), through a temporary file, so a failed run
// leaves no partial bitmap behind.
bool writeBmp24(const QImage& source, const QString& path) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  const int stride = (w * 3 + 3) & ~3;
  const quint32 pixelBytes = quint32(stride) * quint32(h);
  QByteArray data;
  data.reserve(int(54 + pixelBytes));
  auto u16 = [&data](quint32 v) {
    data.append(char(v & 0xff));
    data.append(char((v >> 8) & 0xff));
  };
  auto u32 = [&u16](quint32 v) {
    u16(v & 0xffff);
    u16(v >> 16);
  };
  data.append("BM", 2);
  u32(54 + pixelBytes);  // file size
  u32(0);                // reserved
  u32(54);               // offset of the pixels
  u32(40);               // information header size
  u32(quint32(w));
  u32(quint32(h));  // positive: rows stored bottom-up
  u16(1);           // planes
  u16(24);          // bits per pixel
  u32(0);           // no compression
  u32(pixelBytes);
  u32(3780);  // 96 pixels per inch, in pixels per metre
  u32(3780);
  u32(0);  // colours used
  u32(0);  // important colours
  for (int y = h - 1; y >= 0; --y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      data.append(char(qBlue(row[x])));
      data.append(char(qGreen(row[x])));
      data.append(char(qRed(row[x])));
    }
    for (int pad = w * 3; pad < stride; ++pad) data.append('\0');
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(data) != data.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

class Output {
 public:
  explicit Output(const QString& folder) : folder_(folder) {}

  void save(const QString& name, const QImage& image) {
    const QString path = QDir(folder_).filePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !writeBmp24(image, path)) {
      fail("cannot write " + path);
    }
  }
  void fail(const QString& why) {
    std::fprintf(stderr, "MakeArt: %s\n", qPrintable(why));
    failed_ = true;
  }
  bool failed() const { return failed_; }

 private:
  QString folder_;
  bool failed_ = false;
};

// ---------------------------------------------------------------------------------------------
// Window shape

int countMagenta(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xffffff) == (kMagenta & 0xffffff)) ++n;
  return n;
}

// Whether pixel (x, y) lies inside a w x h rectangle with corners rounded by `radius`, judged
// by the pixel's centre.
bool insideRounded(int x, int y, int w, int h, int radius) {
  const double px = x + 0.5, py = y + 0.5;
  const double cx = px < radius ? radius : (px > w - radius ? w - radius : px);
  const double cy = py < radius ? radius : (py > h - radius ? h - radius : py);
  const double dx = px - cx, dy = py - cy;
  return dx * dx + dy * dy <= double(radius) * radius;
}

// Cuts the window's rounded outline: pixels outside the (hard-edged) shape become exact
// magenta, the shape's outermost pixels become a darker copy of what lies under them, and any
// opaque pixel that happens to be exact magenta is moved off it by one unit.
void cutWindowShape(QImage& image, int radius) {
  const int w = image.width(), h = image.height();
  auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && insideRounded(x, y, w, h, radius);
  };
  QImage out = image;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      QRgb c = image.pixel(x, y);
      if (!inside(x, y)) {
        c = kMagenta;
      } else if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)) {
        c = QColor(c).darker(165).rgb();
      } else if ((c & 0xffffff) == (kMagenta & 0xffffff)) {
        c = qRgb(254, 0, 255);
      }
      out.setPixel(x, y, c);
    }
  }
  image = out;
}

// ---------------------------------------------------------------------------------------------
// Pictures shared by several windows

// The product's icon (a page turning into a picture on a blue tile), in a square box.
void drawAppIcon(QPainter& p, const QRectF& box) {
  p.save();
  p.translate(box.topLeft());
  p.scale(box.width() / 256.0, box.height() / 256.0);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{64, 36}, {160, 36}, {204, 80}, {204, 220}, {64, 220}}));
  p.setBrush(QColor(0xc9, 0xd8, 0xf5));
  p.drawPolygon(QPolygonF({{160, 36}, {160, 80}, {204, 80}}));
  p.setBrush(QColor(0xe8, 0x41, 0x3a));
  p.drawRect(QRectF(64, 36, 76, 34));
  p.setBrush(QColor(0x3a, 0xa6, 0x55));
  p.drawPolygon(QPolygonF({{76, 204}, {122, 138}, {150, 176}, {166, 158}, {194, 204}}));
  p.setBrush(kSun);
  p.drawEllipse(QPointF(170, 118), 16, 16);
  p.restore();
}

// Colours of a drawn symbol in one button state.
struct Ink {
  QColor text;   // captions
  QColor line;   // outlines of symbols
  QColor paper;  // fill of pages and folders
  QColor mark;   // lines of "text" on a page
  QColor good;   // "add" badges, hills
  QColor alert;  // "remove" badges, PDF tag
  QColor sun;
  QColor sky;
};

// Symbols in their own colours: outlines in `line`, pages filled with `paper`.
Ink colourInk(const QColor& text, const QColor& line, const QColor& paper, const QColor& mark) {
  return {text, line, paper, mark, kGreen, kRed, kSun, kSky};
}

// Symbols of a button held down: all grey.
Ink greyed(const QColor& text) {
  const QColor line(0x4d, 0x5a, 0x70), grey(0x6b, 0x77, 0x8a);
  return {text, line, QColor(0xe9, 0xed, 0xf3), line,
          grey, grey, QColor(0x9a, 0xa4, 0xb3), QColor(0xd5, 0xdb, 0xe4)};
}

// White symbols for blue grounds; lines on pages stay blue.
Ink whiteInk() {
  return colourInk(Qt::white, Qt::white, Qt::white, kBlue);
}

QPen strokePen(const QColor& colour, qreal width) {
  QPen pen(colour, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

// Maps a design grid of gw x gh units into `box`, keeping the aspect and centring.
void enterGrid(QPainter& p, const QRectF& box, qreal gw, qreal gh) {
  const qreal s = std::min(box.width() / gw, box.height() / gh);
  p.translate(box.center() - QPointF(gw * s / 2, gh * s / 2));
  p.scale(s, s);
}

// A sheet with a folded corner, three lines of "text" and a PDF tag, in `r` (grid units).
void drawPage(QPainter& p, const QRectF& r, const Ink& ink, qreal pen, bool tag) {
  const qreal fold = r.width() * 0.32;
  QPainterPath sheet;
  sheet.moveTo(r.topLeft());
  sheet.lineTo(r.right() - fold, r.top());
  sheet.lineTo(r.right(), r.top() + fold);
  sheet.lineTo(r.bottomRight());
  sheet.lineTo(r.bottomLeft());
  sheet.closeSubpath();
  p.setPen(strokePen(ink.line, pen));
  p.setBrush(ink.paper);
  p.drawPath(sheet);
  p.drawPolyline(QPolygonF({{r.right() - fold, r.top()},
                            {r.right() - fold, r.top() + fold},
                            {r.right(), r.top() + fold}}));
  const qreal inset = r.width() * 0.22;
  if (tag) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink.alert);
    p.drawRect(QRectF(r.left() + pen / 2, r.top() + r.height() * 0.14, r.width() * 0.52,
                      r.height() * 0.16));
  }
  p.setPen(strokePen(ink.mark, pen * 0.7));
  for (int i = 0; i < 3; ++i) {
    const qreal y = r.top() + r.height() * (0.45 + 0.15 * i);
    const qreal right = i == 2 ? r.center().x() : r.right() - inset;
    p.drawLine(QPointF(r.left() + inset, y), QPointF(right, y));
  }
}

// A framed picture: sky, hills and a sun, in `r` (grid units).
void drawPicture(QPainter& p, const QRectF& r, const Ink& ink, qreal pen) {
  p.setPen(Qt::NoPen);
  p.setBrush(ink.sky);
  p.drawRect(r);
  p.save();
  p.setClipRect(r);
  p.setBrush(ink.good);
  p.drawPolygon(QPolygonF({{r.left(), r.bottom()},
                           {r.left() + r.width() * 0.38, r.top() + r.height() * 0.42},
                           {r.left() + r.width() * 0.6, r.top() + r.height() * 0.7},
                           {r.left() + r.width() * 0.74, r.top() + r.height() * 0.55},
                           {r.right(), r.bottom()}}));
  p.setBrush(ink.sun);
  p.drawEllipse(QPointF(r.left() + r.width() * 0.74, r.top() + r.height() * 0.3), r.height() * 0.13,
                r.height() * 0.13);
  p.restore();
  p.setPen(strokePen(ink.line, pen));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
}

// The converter's theme: a PDF page, an arrow, a picture; on a 40 x 28 grid inside `box`.
void drawPageToPicture(QPainter& p, const QRectF& box, const Ink& ink, qreal pen) {
  p.save();
  enterGrid(p, box, 40, 28);
  drawPage(p, QRectF(1, 1, 13, 26), ink, pen, true);
  p.setPen(strokePen(ink.line, pen));
  p.drawLine(QPointF(17, 14), QPointF(23, 14));
  p.drawPolyline(QPolygonF({{20.5, 11}, {23.5, 14}, {20.5, 17}}));
  drawPicture(p, QRectF(26, 6, 13, 16), ink, pen);
  p.restore();
}

// A round badge with a plus or a cross, centred on `c` (grid units).
void drawBadge(QPainter& p, const QPointF& c, qreal radius, const QColor& fill, bool plus) {
  p.setPen(strokePen(Qt::white, 1.5));
  p.setBrush(fill);
  p.drawEllipse(c, radius, radius);
  const qreal a = radius * 0.5;
  p.setPen(strokePen(Qt::white, 2));
  if (plus) {
    p.drawLine(c + QPointF(-a, 0), c + QPointF(a, 0));
    p.drawLine(c + QPointF(0, -a), c + QPointF(0, a));
  } else {
    p.drawLine(c + QPointF(-a * 0.8, -a * 0.8), c + QPointF(a * 0.8, a * 0.8));
    p.drawLine(c + QPointF(-a * 0.8, a * 0.8), c + QPointF(a * 0.8, -a * 0.8));
  }
}

// ---------------------------------------------------------------------------------------------
// Tool icons, each on a 32 x 32 grid

using Icon = std::function<void(QPainter&, const Ink&)>;

void iconAddFile(QPainter& p, const Ink& ink) {
  drawPage(p, QRectF(5, 2, 18, 25), ink, 2, false);
  drawBadge(p, QPointF(24, 24), 7, ink.good, true);
}

void iconFolder(QPainter& p, const Ink& ink) {
  QPainterPath folder;
  folder.moveTo(3, 7);
  folder.lineTo(12, 7);
  folder.lineTo(15, 10);
  folder.lineTo(28, 10);
  folder.lineTo(28, 26);
  folder.lineTo(3, 26);
  folder.closeSubpath();
  p.setPen(strokePen(ink.line, 2));
  p.setBrush(ink.paper);
  p.drawPath(folder);
  p.drawLine(QPointF(3, 14), QPointF(28, 14));
}

void iconAddFolder(QPainter& p, const Ink& ink) {
  iconFolder(p, ink);
  drawBadge(p, QPointF(24, 24), 7, ink.good, true);
}

void iconSelectAll(QPainter& p, const Ink& ink) {
  for (int i = 0; i < 3; ++i) {
    const qreal y = 7 + 9 * i;
    p.setPen(Qt::NoPen);
    p.setBrush(ink.line);
    p.drawRoundedRect(QRectF(3, y - 3.5, 7, 7), 1.5, 1.5);
    p.setPen(strokePen(Qt::white, 1.5));
    p.drawPolyline(QPolygonF({{4.6, y}, {6, y + 1.6}, {8.6, y - 1.6}}));
    p.setPen(strokePen(ink.line, 2));
    p.drawLine(QPointF(14, y), QPointF(29, y));
  }
}

void iconDelete(QPainter& p, const Ink& ink) {
  p.setPen(strokePen(ink.alert, 2));
  p.setBrush(ink.paper);
  p.drawPolygon(QPolygonF({{8, 10}, {9.5, 28}, {22.5, 28}, {24, 10}}));
  p.drawLine(QPointF(5, 9), QPointF(27, 9));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{12, 8.5}, {12.5, 5}, {19.5, 5}, {20, 8.5}}));
  p.setPen(strokePen(ink.alert, 1.6));
  for (const qreal x : {13.0, 16.0, 19.0}) p.drawLine(QPointF(x, 14), QPointF(x, 24));
}

void iconClearAll(QPainter& p, const Ink& ink) {
  drawPage(p, QRectF(9, 1, 16, 22), ink, 2, false);
  drawPage(p, QRectF(4, 6, 16, 22), ink, 2, false);
  drawBadge(p, QPointF(24, 24), 7, ink.alert, false);
}

void iconConvert(QPainter& p, const Ink& ink) {
  // Drawn on its own grid; the 32-unit grid is only the frame it is fitted into.
  drawPageToPicture(p, QRectF(-4, 2, 40, 28), ink, 1.6);
}

// ---------------------------------------------------------------------------------------------
// Button skins

enum State { kNormal, kHover, kPressed, kStates };

enum class Shape { Card, Flat };

struct Look {
  Shape shape;
  qreal radius;
  QColor fill[kStates];
  QColor border[kStates];
  Ink ink[kStates];
};

// Blue button with white text (OK, Convert).
Look primaryLook() {
  const Ink white = whiteInk();
  Ink down = white;
  down.text = down.line = QColor(0xd3, 0xde, 0xf0);
  return {Shape::Card,
          4,
          {kBlue, kBlueLight, kBlueDark},
          {QColor(0x19, 0x50, 0xab), QColor(0x2f, 0x6b, 0xcf), QColor(0x11, 0x37, 0x78)},
          {white, white, down}};
}

// White button with dark text (Cancel, Browse, Stop).
Look secondaryLook() {
  const Ink dark = colourInk(kText, kBlue, QColor(0xe3, 0xec, 0xfb), kBlue);
  Ink over = dark;
  over.text = kBlueDark;
  return {Shape::Card,
          4,
          {kPanel, QColor(0xea, 0xf2, 0xfd), QColor(0xd3, 0xd9, 0xe2)},
          {QColor(0xa6, 0xb2, 0xc3), kBlueLight, QColor(0x93, 0x9e, 0xaf)},
          {dark, over, greyed(QColor(0x45, 0x50, 0x60))}};
}

// The main window's tool buttons: white tiles with a coloured symbol.
Look toolLook() {
  Look look = secondaryLook();
  look.radius = 6;
  look.fill[kHover] = QColor(0xe4, 0xef, 0xfd);
  look.fill[kPressed] = QColor(0xcf, 0xd7, 0xe3);
  look.border[kNormal] = QColor(0xc8, 0xd0, 0xdc);
  look.border[kHover] = QColor(0x7f, 0xa6, 0xe6);
  return look;
}

// Symbols on a title band: no face until the mouse is over them.
Look titleLook(bool close) {
  const Ink white = whiteInk();
  Ink down = white;
  down.line = QColor(0xd0, 0xd8, 0xe6);
  const QColor none(0, 0, 0, 0);
  return {Shape::Flat,
          3,
          {none, close ? kRed : QColor(255, 255, 255, 48), close ? kRedDark : QColor(0, 0, 0, 60)},
          {none, none, none},
          {white, white, down}};
}

using Content = std::function<void(QPainter&, const QRectF&, const Ink&)>;

Content label(const QString& text, const QFont& font = sans(12, true)) {
  return [text, font](QPainter& p, const QRectF& r, const Ink& ink) {
    drawText(p, r, Qt::AlignCenter, text, font, ink.text);
  };
}

// A symbol on a 32 x 32 grid above a caption.
Content iconCaption(Icon icon, const QString& caption, qreal iconSize, const QFont& font) {
  return [icon, caption, iconSize, font](QPainter& p, const QRectF& r, const Ink& ink) {
    p.save();
    enterGrid(p, QRectF(r.center().x() - iconSize / 2, r.top() + 8, iconSize, iconSize), 32, 32);
    icon(p, ink);
    p.restore();
    const QRectF text(r.left(), r.top() + 8 + iconSize + 2, r.width(), 16);
    drawText(p, text, Qt::AlignHCenter | Qt::AlignTop, caption, font, ink.text);
  };
}

// A small symbol left of a label, the pair centred.
Content markLabel(const Content& mark, const QString& text) {
  return [mark, text](QPainter& p, const QRectF& r, const Ink& ink) {
    const QFont font = sans(12, true);
    const qreal mw = 10, gap = 6;
    const qreal tw = QFontMetricsF(font).horizontalAdvance(text);
    const qreal left = r.center().x() - (mw + gap + tw) / 2;
    mark(p, QRectF(left, r.center().y() - mw / 2, mw, mw), ink);
    drawText(p, QRectF(left + mw + gap, r.top(), tw + 2, r.height()), Qt::AlignVCenter, text, font,
             ink.text);
  };
}

Content crossGlyph() {
  return [](QPainter& p, const QRectF& r, const Ink& ink) {
    const qreal a = std::min(r.width(), r.height()) * 0.24;
    const QPointF c = r.center();
    p.setPen(strokePen(ink.line, 1.6));
    p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
    p.drawLine(c + QPointF(-a, a), c + QPointF(a, -a));
  };
}

Content minimiseGlyph() {
  return [](QPainter& p, const QRectF& r, const Ink& ink) {
    // Two whole pixel rows, so the bar stays crisp.
    const qreal y = std::floor(r.center().y()) + 4, x = std::floor(r.center().x());
    QPen pen(ink.line, 2);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(QPointF(x - 5, y), QPointF(x + 5, y));
  };
}

void drawFace(QPainter& p, const QSize& size, const Look& look, State s) {
  const QRectF face(0.5, 0.5, size.width() - 1, size.height() - 1);
  p.setBrush(look.fill[s]);
  if (look.shape == Shape::Card) {
    p.setPen(QPen(look.border[s], 1));
    p.drawRoundedRect(face, look.radius, look.radius);
  } else {
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), look.radius, look.radius);
  }
}

// Draws the three strips of the button at `place` over the window background `bg`.
void makeButton(Output& out, const QString& name, const QImage& bg, const QRect& place,
                const Look& look, const Content& content) {
  const int w = place.width(), h = place.height();
  QImage skin(w * kStates, h, QImage::Format_RGB32);
  QPainter sp(&skin);
  for (int s = 0; s < kStates; ++s) {
    QImage strip = bg.copy(place);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawFace(p, place.size(), look, State(s));
    if (s == kPressed) p.translate(1, 1);
    content(p, QRectF(0, 0, w, h), look.ink[s]);
    p.end();
    sp.drawImage(s * w, 0, strip);
  }
  sp.end();
  // Buttons are opaque everywhere: a magenta pixel would mean the button hangs over the
  // window's cut-away corner.
  if (countMagenta(skin) != 0)
    out.fail(name + " lies over the window's transparent area");
  else
    out.save(name, skin);
}

// ---------------------------------------------------------------------------------------------
// Window backgrounds

// A window body with a title band of `band` rows; `title`, when given, is written into it.
QImage windowBase(int w, int h, int band, const QString& title = {}) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kPanel);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(0, 0, w, band), kNavy);
  if (!title.isEmpty())
    drawText(p, QRectF(14, 0, w - 60, band), Qt::AlignVCenter, title, sans(13, true), Qt::white);
  return image;
}

// A grey band from row `top` to the bottom, below a hairline, for the dialog's buttons.
void footerBand(QPainter& p, int w, int h, int top) {
  p.fillRect(QRect(0, top, w, h - top), kFooter);
  p.fillRect(QRect(0, top, w, 1), kRule);
}

void framedPanel(QPainter& p, const QRect& r, const QColor& fill, int radius) {
  p.setPen(QPen(kRule, 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// The promotional column right of the file list, seen until the web panel covers it.
void promoPanel(QPainter& p, const QRect& r) {
  framedPanel(p, r, kPanel, 6);
  const QRect head(r.left() + 1, r.top() + 1, r.width() - 2, 104);
  QLinearGradient g(head.topLeft(), head.bottomRight());
  g.setColorAt(0, kNavy);
  g.setColorAt(1, kBlue);
  QPainterPath clip;
  clip.setFillRule(Qt::WindingFill);
  clip.addRoundedRect(QRectF(head), 5, 5);
  clip.addRect(QRectF(head.left(), head.top() + 10, head.width(), head.height() - 10));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(clip.simplified());
  const Ink light = whiteInk();
  drawPageToPicture(p, QRectF(head.left() + 40, head.top() + 18, head.width() - 80, 68), light,
                    1.4);
  const int x = r.left() + 16, tw = r.width() - 32;
  int y = head.bottom() + 16;
  drawText(p, QRectF(x, y, tw, 24), Qt::AlignLeft | Qt::AlignVCenter, kProduct, sans(16, true),
           kText);
  y += 28;
  drawText(p, QRectF(x, y, tw, 36), Qt::AlignLeft | Qt::TextWordWrap,
           "Turn the pages of your PDF documents into JPEG pictures.", sans(12), kTextMuted);
  y += 50;
  const QStringList features{"Every page becomes a JPEG", "Colour or greyscale output",
                             "Resolution from 20 to 600 dpi", "Many files in one run",
                             "Add whole folders of PDFs"};
  for (const QString& feature : features) {
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(x + 7, y + 9), 7, 7);
    p.setPen(strokePen(Qt::white, 1.8));
    p.drawPolyline(QPolygonF({{x + 3.5, y + 9.0}, {x + 6.0, y + 11.5}, {x + 10.5, y + 6.5}}));
    drawText(p, QRectF(x + 22, y, tw - 22, 18), Qt::AlignLeft | Qt::AlignVCenter, feature, sans(12),
             kText);
    y += 30;
  }
  p.setPen(QPen(kRule, 1));
  p.drawLine(QPointF(x, r.bottom() - 62.5), QPointF(r.right() - 16, r.bottom() - 62.5));
  drawText(p, QRectF(x, r.bottom() - 54, tw, 44), Qt::AlignLeft | Qt::TextWordWrap,
           "Tip: right-click the file list for more commands.", sans(11), kTextMuted);
}

void makeMainWindow(Output& out) {
  const int w = 831, h = 572;
  QImage bg = windowBase(w, h, 27);
  {
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(0, 27, w, h - 27), kBody);
    p.fillRect(QRect(0, 27, w, 28), kBlue);  // menu band: the tool bar sits at 46, 28
    drawAppIcon(p, QRectF(5, 5, 17, 17));
    // File list (the list fills 11, 60, 562 x 321; the placeholder 10, 59, 564 x 322).
    framedPanel(p, QRect(9, 58, 566, 324), kPanel, 0);
    // Divider between the list's buttons and Convert.
    p.setPen(QPen(kRule, 1));
    p.drawLine(QPointF(420.5, 394), QPointF(420.5, 442));
    // Output settings: two rows below a hairline.
    p.fillRect(QRect(9, 461, 566, 1), kRule);
    p.fillRect(QRect(9, 507, 566, 1), QColor(0xd8, 0xde, 0xe7));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(15, 478, 4, 14), 2, 2);
    drawText(p, QRectF(25, 470, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, "Output Settings",
             sans(13, true), kBlueDark);
    promoPanel(p, QRect(594, 59, 224, 492));
  }
  cutWindowShape(bg, 8);
  out.save("main_bg.bmp", bg);
  out.save("main_toolbar.bmp", bg.copy(46, 28, 321, 23));

  const Look tool = toolLook(), primary = primaryLook(), secondary = secondaryLook();
  makeButton(out, "main_btn_min.bmp", bg, QRect(760, 5, 22, 18), titleLook(false), minimiseGlyph());
  makeButton(out, "main_btn_close.bmp", bg, QRect(782, 5, 22, 18), titleLook(true), crossGlyph());
  struct Tool {
    const char* file;
    int x;
    Icon icon;
    const char* caption;
  };
  const Tool tools[] = {{"main_btn_addfile.bmp", 47, iconAddFile, "Add File"},
                        {"main_btn_addfolder.bmp", 116, iconAddFolder, "Add Folder"},
                        {"main_btn_selectall.bmp", 185, iconSelectAll, "Select All"},
                        {"main_btn_delete.bmp", 254, iconDelete, "Delete"},
                        {"main_btn_clearall.bmp", 323, iconClearAll, "Clear All"}};
  QStringList captions;
  for (const Tool& t : tools) captions << t.caption;
  const QFont toolFont = fitted(captions, 12, true, 65 - 6);
  for (const Tool& t : tools)
    makeButton(out, t.file, bg, QRect(t.x, 384, 65, 67), tool,
               iconCaption(t.icon, t.caption, 32, toolFont));
  makeButton(out, "main_btn_convert.bmp", bg, QRect(452, 384, 77, 67), primary,
             iconCaption(iconConvert, "Convert", 34, sans(12, true)));
  const QFont folderFont = fitted({"Browse...", "Open Folder"}, 12, true, 76 - 10);
  makeButton(out, "main_btn_browse.bmp", bg, QRect(340, 518, 76, 25), secondary,
             label("Browse...", folderFont));
  makeButton(out, "main_btn_open.bmp", bg, QRect(419, 518, 76, 25), secondary,
             label("Open Folder", folderFont));

  // Shown stretched in place of the empty list, at its own size.
  QImage face(564, 322, QImage::Format_RGB32);
  face.fill(kPanel);
  {
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QPen dash(QColor(0xb3, 0xc3, 0xdc), 2, Qt::DashLine);
    dash.setDashPattern({4, 3});
    p.setPen(dash);
    p.setBrush(QColor(0xf7, 0xf9, 0xfd));
    p.drawRoundedRect(QRectF(16, 16, 532, 290), 10, 10);
    const Ink ink = colourInk(kText, kBlue, QColor(0xe3, 0xec, 0xfb), kBlue);
    drawPageToPicture(p, QRectF(202, 50, 160, 112), ink, 1.2);
    drawText(p, QRectF(16, 180, 532, 30), Qt::AlignCenter, "Drop PDF files here", sans(20, true),
             kText);
    drawText(p, QRectF(16, 214, 532, 20), Qt::AlignCenter,
             "or use Add File and Add Folder below to choose them.", sans(13), kTextMuted);
    drawText(p, QRectF(16, 250, 532, 20), Qt::AlignCenter, "Right-click here for more commands.",
             sans(12), QColor(0x80, 0x8b, 0x9b));
  }
  out.save("main_face.bmp", face);
}

// The two small dialogs: title band, white panel, grey band with two buttons at the right.
struct DialogButtons {
  QSize size;
  int y, okX, cancelX;
};

void makeDialogButtons(Output& out, const QString& prefix, const QImage& bg,
                       const DialogButtons& b) {
  makeButton(out, prefix + "_btn_ok.bmp", bg, QRect(QPoint(b.okX, b.y), b.size), primaryLook(),
             label("OK"));
  makeButton(out, prefix + "_btn_cancel.bmp", bg, QRect(QPoint(b.cancelX, b.y), b.size),
             secondaryLook(), label("Cancel"));
}

void makeAddFileDialog(Output& out) {
  const int w = 527, h = 226;
  QImage bg = windowBase(w, h, 31, kProduct);
  {
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    footerBand(p, w, h, 166);
    // The status text sits at 34, 72 (457 x 65) under this heading.
    drawText(p, QRectF(34, 40, 457, 24), Qt::AlignLeft | Qt::AlignVCenter, "Adding files",
             sans(15, true), kBlueDark);
    p.fillRect(QRect(34, 65, 457, 1), QColor(0xdc, 0xe3, 0xee));
  }
  cutWindowShape(bg, 6);
  out.save("addfile_bg.bmp", bg);
  makeButton(out, "addfile_btn_close.bmp", bg, QRect(491, 7, 22, 17), titleLook(true),
             crossGlyph());
  makeDialogButtons(out, "addfile", bg, {QSize(79, 25), 181, 331, 416});
}

void drawWarningSign(QPainter& p, const QRectF& r) {
  QPainterPath sign;
  sign.moveTo(r.center().x(), r.top() + 1);
  sign.lineTo(r.right() - 1, r.bottom() - 2);
  sign.lineTo(r.left() + 1, r.bottom() - 2);
  sign.closeSubpath();
  p.setPen(strokePen(QColor(0xd9, 0x8e, 0x04), 2.5));
  p.setBrush(QColor(0xfc, 0xc4, 0x2d));
  p.drawPath(sign);
  p.setPen(strokePen(kText, 3));
  const qreal cx = r.center().x();
  p.drawLine(QPointF(cx, r.top() + r.height() * 0.36), QPointF(cx, r.top() + r.height() * 0.62));
  p.drawPoint(QPointF(cx, r.top() + r.height() * 0.76));
}

void makeReplacePrompt(Output& out) {
  const int w = 527, h = 226;
  QImage bg = windowBase(w, h, 31, kProduct);
  {
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    footerBand(p, w, h, 166);
    // The question starts at 60, 66; the choices below it at 60, 101 and 60, 130.
    drawWarningSign(p, QRectF(16, 58, 34, 32));
  }
  cutWindowShape(bg, 6);
  out.save("replace_bg.bmp", bg);
  makeDialogButtons(out, "replace", bg, {QSize(76, 23), 181, 332, 419});
}

void makeConvertDialog(Output& out) {
  const int w = 459, h = 187;
  QImage bg = windowBase(w, h, 32);
  {
    QPainter p(&bg);
    footerBand(p, w, h, 116);
    // Groove of the progress bar: its border frames the fill's rectangle, 23, 84, 411 x 20.
    p.fillRect(QRect(22, 83, 413, 22), QColor(0xb4, 0xbf, 0xd0));
    p.fillRect(QRect(23, 84, 411, 20), QColor(0xe6, 0xeb, 0xf2));
    p.fillRect(QRect(23, 84, 411, 1), QColor(0xd4, 0xdb, 0xe6));
  }
  cutWindowShape(bg, 6);
  out.save("convert_bg.bmp", bg);
  makeButton(out, "convert_btn_close.bmp", bg, QRect(422, 8, 20, 16), titleLook(true),
             crossGlyph());
  auto stopMark = [](QPainter& p, const QRectF& r, const Ink& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink.alert);
    p.drawRoundedRect(r, 1.5, 1.5);
  };
  makeButton(out, "convert_btn_stop.bmp", bg, QRect(351, 126, 77, 27), secondaryLook(),
             markLabel(stopMark, "Stop"));
}

void makeAboutDialog(Output& out) {
  const int w = 418, h = 263;
  QImage bg = windowBase(w, h, 24);
  {
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawAppIcon(p, QRectF(12, 31, 32, 32));
    drawText(p, QRectF(52, 30, 350, 34), Qt::AlignLeft | Qt::AlignVCenter, kProduct, sans(20, true),
             kNavy);
    // Frame around the banner picture at 12, 69 (396 x 62).
    p.setPen(QPen(kRule, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(11.5, 68.5, 397, 63));
    drawText(p, QRectF(14, 142, 390, 40), Qt::AlignLeft | Qt::TextWordWrap,
             "Turns the pages of PDF documents into JPEG pictures, in colour or greyscale, "
             "at the resolution you choose.",
             sans(12), kTextMuted);
    footerBand(p, w, h, 193);
  }
  cutWindowShape(bg, 6);
  out.save("about_bg.bmp", bg);
  makeButton(out, "about_btn_close.bmp", bg, QRect(381, 3, 20, 16), titleLook(true), crossGlyph());
  makeButton(out, "about_btn_ok.bmp", bg, QRect(318, 220, 76, 23), primaryLook(), label("OK"));
}

// ---------------------------------------------------------------------------------------------
// Pictures of the data folder

void makeDataPictures(Output& out) {
  QImage banner(396, 62, QImage::Format_RGB32);
  {
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 396, 62);
    g.setColorAt(0, kNavy);
    g.setColorAt(1, kBlueLight);
    p.fillRect(banner.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 16));
    p.drawEllipse(QPointF(350, 10), 60, 60);
    p.drawEllipse(QPointF(250, 80), 44, 44);
    drawAppIcon(p, QRectF(10, 9, 44, 44));
    drawText(p, QRectF(64, 9, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
             "PDF pages in, JPEG images out",
             fitted({"PDF pages in, JPEG images out"}, 17, true, 246), Qt::white);
    drawText(p, QRectF(64, 33, 250, 18), Qt::AlignLeft | Qt::AlignVCenter,
             "Fast batch conversion, colour or greyscale", sans(12), QColor(0xd2, 0xe2, 0xff));
    const Ink light = whiteInk();
    drawPageToPicture(p, QRectF(318, 9, 66, 44), light, 1.5);
  }
  out.save("Skins/about.bmp", banner);

  // Glossy fill, stretched sideways by the bar.
  QImage fill(16, 20, QImage::Format_RGB32);
  {
    QPainter p(&fill);
    QLinearGradient g(0, 0, 0, 20);
    g.setColorAt(0.0, QColor(0x8c, 0xbb, 0xff));
    g.setColorAt(0.45, QColor(0x3f, 0x86, 0xf0));
    g.setColorAt(0.55, QColor(0x22, 0x66, 0xd6));
    g.setColorAt(1.0, QColor(0x2e, 0x74, 0xe2));
    p.fillRect(fill.rect(), g);
    p.fillRect(QRect(0, 0, 16, 1), QColor(0xb4, 0xd2, 0xff));
    p.fillRect(QRect(0, 19, 16, 1), QColor(0x1a, 0x52, 0xb0));
  }
  out.save("Skins/progress.bmp", fill);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Usage: MakeArt <output-folder>\n");
    return 2;
  }
  if (!QFontDatabase::families().contains(QString::fromLatin1(kFamily))) {
    std::fprintf(stderr, "MakeArt: the font \"%s\" is missing (Debian package fonts-liberation)\n",
                 kFamily);
    return 1;
  }
  Output out(QString::fromLocal8Bit(argv[1]));
  makeMainWindow(out);
  makeAddFileDialog(out);
  makeConvertDialog(out);
  makeReplacePrompt(out);
  makeAboutDialog(out);
  makeDataPictures(out);
  return out.failed() ? 1 : 0;
}
