// Writes the sample PDF a new user finds in the list: a short illustrated guide to the
// converter, drawn with vector shapes and the standard Helvetica font.
//
//   make_guide OUTPUT.pdf
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "MakePdf.h"

namespace {

constexpr float W = 595, H = 842;  // A4, points

class Canvas {
 public:
  Canvas& Fill(float r, float g, float b, float x, float y, float w, float h) {
    out << r << ' ' << g << ' ' << b << " rg " << x << ' ' << y << ' ' << w << ' ' << h
        << " re f\n";
    return *this;
  }
  Canvas& Frame(float gray, float x, float y, float w, float h) {
    out << gray << " G 1 w " << x << ' ' << y << ' ' << w << ' ' << h << " re S\n";
    return *this;
  }
  Canvas& Text(float size, float gray, float x, float y, const std::string& text) {
    out << "BT /F1 " << size << " Tf " << gray << " g " << x << ' ' << y << " Td (";
    for (char c : text) {
      if (c == '(' || c == ')' || c == '\\') out << '\\';
      out << c;
    }
    out << ") Tj ET\n";
    return *this;
  }
  // A paragraph: one line per entry.
  Canvas& Lines(float size, float x, float y, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      Text(size, 0.15f, x, y, line);
      y -= size * 1.45f;
    }
    return *this;
  }
  // A picture tile: sky, sun and a hill, as a JPEG page would show.
  Canvas& Picture(float x, float y, float w, float h) {
    Fill(0.86f, 0.92f, 1, x, y, w, h);
    out << "0.98 0.75 0.2 rg " << x + w * 0.72f << ' ' << y + h * 0.7f << ' ' << w * 0.12f << ' '
        << w * 0.12f << " re f\n";
    out << "0.2 0.6 0.3 rg " << x << ' ' << y << " m " << x + w * 0.4f << ' ' << y + h * 0.65f
        << " l " << x + w * 0.7f << ' ' << y + h * 0.3f << " l " << x + w << ' ' << y + h * 0.5f
        << " l " << x + w << ' ' << y << " l h f\n";
    return Frame(0.4f, x, y, w, h);
  }
  // A PDF document icon with its folded corner.
  Canvas& Document(float x, float y, float w, float h) {
    Fill(1, 1, 1, x, y, w, h);
    Frame(0.3f, x, y, w, h);
    Fill(0.8f, 0.15f, 0.15f, x + w * 0.15f, y + h * 0.72f, w * 0.35f, h * 0.12f);
    for (int i = 0; i < 3; ++i)
      Fill(0.6f, 0.65f, 0.75f, x + w * 0.15f, y + h * (0.5f - 0.15f * i), w * 0.7f, h * 0.05f);
    return *this;
  }
  Canvas& Arrow(float x, float y, float length) {
    out << "0.1 0.3 0.7 rg " << x << ' ' << y - 3 << ' ' << length - 10 << " 6 re f "
        << x + length - 12 << ' ' << y - 9 << " m " << x + length << ' ' << y << " l "
        << x + length - 12 << ' ' << y + 9 << " l h f\n";
    return *this;
  }
  // The converter's main window in miniature.
  Canvas& Window(float x, float y, float scale, int rows) {
    const auto s = [scale](float v) { return v * scale; };
    Fill(0.95f, 0.96f, 0.98f, x, y, s(420), s(280));
    Frame(0.3f, x, y, s(420), s(280));
    Fill(0.1f, 0.2f, 0.45f, x, y + s(262), s(420), s(18));
    Text(s(10), 1, x + s(8), y + s(267), "Ostrel PDF to JPEG");
    Fill(0.15f, 0.35f, 0.8f, x, y + s(250), s(420), s(12));
    Fill(1, 1, 1, x + s(6), y + s(110), s(280), s(135));
    Frame(0.6f, x + s(6), y + s(110), s(280), s(135));
    const char* names[] = {"annual report.pdf", "manual.pdf", "scan.pdf", "guide.pdf"};
    for (int i = 0; i < rows && i < 4; ++i) {
      const float row = y + s(230 - 14 * i);
      if (i == 0) Fill(0.2f, 0.45f, 0.85f, x + s(7), row - s(3), s(278), s(13));
      Frame(0.2f, x + s(10), row - s(1), s(8), s(8));
      Text(s(8), i == 0 ? 1 : 0.1f, x + s(22), row, names[i]);
      Text(s(8), i == 0 ? 1 : 0.1f, x + s(120), row, "JPEG Format");
      Text(s(8), i == 0 ? 1 : 0.1f, x + s(220), row, "1-" + std::to_string(4 + 3 * i));
    }
    for (int i = 0; i < 5; ++i) {
      Fill(1, 1, 1, x + s(8 + 40 * i), y + s(70), s(34), s(32));
      Frame(0.6f, x + s(8 + 40 * i), y + s(70), s(34), s(32));
    }
    Fill(0.1f, 0.35f, 0.8f, x + s(226), y + s(70), s(56), s(32));
    Text(s(9), 1, x + s(234), y + s(82), "Convert");
    Text(s(8), 0.1f, x + s(8), y + s(45), "Output Color:  Colorfull     Resolution:  150 dpi");
    Text(s(8), 0.1f, x + s(8), y + s(20), "Output Folder:  Documents/Glimmerhof Studio/...");
    Fill(0.12f, 0.3f, 0.7f, x + s(296), y + s(110), s(116), s(135));
    return *this;
  }

  std::string Content() const { return out.str(); }

 private:
  std::ostringstream out;
};

Canvas Heading(int page, const std::string& title) {
  Canvas c;
  c.Fill(0.1f, 0.2f, 0.45f, 0, H - 70, W, 70);
  c.Text(22, 1, 48, H - 45, title);
  c.Text(9, 0.4f, 48, 30, "Ostrel PDF to JPEG - a short guide");
  c.Text(9, 0.4f, W - 80, 30, "Page " + std::to_string(page) + " of 4");
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_guide OUTPUT.pdf\n");
    return 2;
  }
  std::vector<TestPage> pages(4);
  for (TestPage& p : pages) p.width = W, p.height = H;

  Canvas one = Heading(1, "Welcome to Ostrel PDF to JPEG");
  one.Lines(13, 48, 720,
            {"Ostrel turns every page of your PDF documents into a JPEG picture.",
             "This guide is itself a PDF: it is already in the list, so you can try",
             "the converter at once. Press Convert and look at the pictures it makes."});
  one.Document(60, 430, 90, 120).Arrow(170, 490, 70).Window(255, 380, 0.72f, 3);
  one.Picture(120, 150, 110, 80).Picture(250, 150, 110, 80).Picture(380, 150, 110, 80);
  one.Lines(12, 120, 125, {"One JPEG per page, in a folder per PDF."});
  pages[0].content = one.Content();

  Canvas two = Heading(2, "1. Add your PDF files");
  two.Lines(13, 48, 720,
            {"Add File... picks one or more PDF files; Add Folder... takes every PDF",
             "directly in a folder. You can also drop files and folders on the window,",
             "or name them when you start the program:  Ostrel -f a.pdf b.pdf",
             "Each file shows its page count. Files that are already listed are skipped,",
             "and a file that cannot be opened is reported."});
  two.Document(60, 420, 60, 80).Document(80, 400, 60, 80).Document(100, 380, 60, 80);
  two.Arrow(180, 440, 60).Window(255, 260, 0.72f, 4);
  two.Lines(12, 60, 200,
            {"Right-click the list for Check All, Uncheck All and Select All.",
             "Only checked files are converted; Delete and Clear All remove files",
             "from the list, never from the disk."});
  pages[1].content = two.Content();

  Canvas three = Heading(3, "2. Choose colour and resolution");
  three.Lines(13, 48, 720,
              {"Select a file in the list to see its settings. Output Color chooses",
               "full colour (Colorfull) or Gray; Resolution takes 20 to 600 dpi.",
               "150 dpi suits the screen; 300 dpi or more suits printing."});
  three.Fill(1, 1, 1, 80, 560, 160, 30).Frame(0.4f, 80, 560, 160, 30);
  three.Text(14, 0.1f, 90, 570, "Colorfull").Text(14, 0.1f, 210, 570, "v");
  three.Fill(1, 1, 1, 320, 560, 120, 30).Frame(0.4f, 320, 560, 120, 30);
  three.Text(14, 0.1f, 330, 570, "300").Text(14, 0.1f, 450, 570, "dpi");
  three.Picture(80, 360, 140, 105).Text(11, 0.2f, 80, 340, "Colorfull");
  three.Fill(0.85f, 0.85f, 0.85f, 320, 360, 140, 105).Fill(0.55f, 0.55f, 0.55f, 320, 360, 140, 40);
  three.Frame(0.4f, 320, 360, 140, 105).Text(11, 0.2f, 320, 340, "Gray");
  three.Lines(12, 60, 260,
              {"The Output Folder is where the pictures go. Browse... changes it;",
               "Open Folder shows it in your file manager."});
  pages[2].content = three.Content();

  Canvas four = Heading(4, "3. Convert");
  four.Lines(13, 48, 720,
             {"Convert shows the file and page being converted. Stop asks before it",
              "ends the run; pages already written are kept, and no half-written",
              "picture is ever left behind."});
  four.Fill(0.93f, 0.94f, 0.97f, 80, 520, 420, 100).Frame(0.3f, 80, 520, 420, 100);
  four.Text(12, 0.1f, 95, 595, "Converting guide.pdf.")
      .Text(12, 0.1f, 95, 577, "Converting Page 3.");
  four.Fill(1, 1, 1, 95, 540, 390, 18).Fill(0.15f, 0.4f, 0.85f, 95, 540, 290, 18);
  four.Lines(13, 48, 470,
             {"When a picture of the same name exists, you are asked whether to",
              "replace it, just for this time or for all files. Cancel keeps the old",
              "pictures and writes the new ones under numbered names.", "",
              "The pictures of report.pdf are written to",
              "    <Output Folder>/Image/report/report-1.jpg, report-2.jpg, ...", "",
              "Help Content in the Help menu opens the full help page."});
  pages[3].content = four.Content();

  if (!MakePdf(argv[1], pages)) {
    std::fprintf(stderr, "make_guide: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
