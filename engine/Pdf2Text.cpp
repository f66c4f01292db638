// The document calls: the text of a list of pages as plain UTF-8 text or as RTF. The file
// is written under a hidden temporary name beside the target and renamed when complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Engine.h"

using namespace rastmond;

namespace {

// "1-3,5,7-9": the pages in order, clamped to the document; nothing for a malformed piece.
std::vector<int> ParsePageList(const char* list, int pageCount) {
  std::vector<int> pages;
  std::string text = list ? list : "";
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    int first = 0, last = 0;
    char rest = 0;
    if (std::sscanf(piece.c_str(), "%d-%d%c", &first, &last, &rest) == 2 ||
        (std::sscanf(piece.c_str(), "%d%c", &first, &rest) == 1 && (last = first))) {
      for (int p = std::max(first, 1); p <= std::min(last, pageCount); ++p) pages.push_back(p);
    }
    start = end + 1;
  }
  return pages;
}

// The page's blocks of text, each a list of lines in reading order.
using Blocks = std::vector<std::vector<std::string>>;

bool PageText(fz_context* ctx, pdf_document* pdf, int page, Blocks& blocks) {
  fz_page* volatile loaded = nullptr;
  fz_stext_page* volatile text = nullptr;
  bool ok = true;
  fz_try(ctx) {
    loaded = fz_load_page(ctx, &pdf->super, page - 1);
    fz_stext_options options{};
    text = fz_new_stext_page_from_page(ctx, loaded, &options);
    for (fz_stext_block* block = text->first_block; block; block = block->next) {
      if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
      std::vector<std::string> lines;
      for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
        std::string out;
        for (fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
          char utf8[8];
          out.append(utf8, fz_runetochar(utf8, ch->c));
        }
        lines.push_back(std::move(out));
      }
      blocks.push_back(std::move(lines));
    }
  }
  fz_always(ctx) {
    fz_drop_stext_page(ctx, text);
    fz_drop_page(ctx, loaded);
  }
  fz_catch(ctx) {
    ok = false;
  }
  return ok;
}

std::string PlainPage(const Blocks& blocks) {
  std::string out;
  for (const auto& lines : blocks) {
    for (const std::string& line : lines) out += line + "\n";
    out += "\n";
  }
  return out;
}

// RTF text: the control characters escaped, everything beyond ASCII as \uN? (UTF-16 units).
std::string RtfEscape(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    int rune = 0;
    i += fz_chartorune(&rune, utf8.c_str() + i);
    if (rune == '\\' || rune == '{' || rune == '}') {
      out += '\\';
      out += static_cast<char>(rune);
    } else if (rune == '\t') {
      out += "\\tab ";
    } else if (rune >= 0x20 && rune < 0x80) {
      out += static_cast<char>(rune);
    } else if (rune >= 0x80) {
      const auto unit = [&out](int u) {
        out += "\\u" + std::to_string(static_cast<int16_t>(u)) + "?";
      };
      if (rune >= 0x10000) {
        unit(0xD800 + ((rune - 0x10000) >> 10));
        unit(0xDC00 + ((rune - 0x10000) & 0x3FF));
      } else {
        unit(rune);
      }
    }
  }
  return out;
}

std::string RtfPage(const Blocks& blocks) {
  std::string out;
  for (const auto& lines : blocks) {
    out += "{\\pard ";
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? " " : "") + RtfEscape(lines[i]);
    out += "\\par}\n";
  }
  return out;
}

// 1 when the document lets its text be copied, 0 when it forbids it, -1 on error.
int CopyPermitted(fz_context* ctx, pdf_document* pdf) {
  volatile int permitted = -1;
  fz_try(ctx) {
    permitted = pdf_has_permission(ctx, pdf, FZ_PERMISSION_COPY) ? 1 : 0;
  }
  fz_catch(ctx) {
    permitted = -1;
  }
  return permitted;
}

int WriteText(int handle, const char* pageList, const char* outputFile, ProgressCallback callback,
              bool rtf) {
  try {
    const std::shared_ptr<Document> document = FindDocument(handle);
    if (!document || !outputFile || !*outputFile) return -1;
    if (document->needsPassword) return -2;
    fz_context* ctx = NewContext();
    if (!ctx) return -1;
    int result = 0;
    std::string temp;
    FILE* file = nullptr;
    const int permitted = CopyPermitted(ctx, document->pdf);
    if (permitted != 1) result = permitted == 0 ? -3 : -1;
    if (result == 0) {
      const std::string target = outputFile;
      const std::size_t slash = target.rfind('/');
      temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
             ".rastmond-XXXXXX";
      const int fd = mkostemp(temp.data(), O_CLOEXEC);
      if (fd >= 0) fchmod(fd, FileMode());
      file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
      if (!file) {
        if (fd >= 0) close(fd);
        if (fd >= 0) unlink(temp.c_str());
        result = -1;
      }
    }
    if (result == 0) {
      bool ok = !rtf || std::fputs(
                            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                            "\\f0\\fs22\n",
                            file) >= 0;
      bool firstPage = true;
      for (int page : ParsePageList(pageList, document->pageCount)) {
        Blocks blocks;
        if (!PageText(ctx, document->pdf, page, blocks)) {
          result = -1;
          break;
        }
        if (rtf && callback && callback(0, 0, page) == 0) {
          result = -4;
          break;
        }
        std::string text = rtf ? RtfPage(blocks) : PlainPage(blocks);
        if (!firstPage) text.insert(0, rtf ? "\\page\n" : "\f");
        firstPage = false;
        ok = ok && std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (callback && callback(0, 0, page) == 0) {
          result = -4;
          break;
        }
      }
      if (rtf) ok = ok && std::fputs("}\n", file) >= 0;
      ok = std::fclose(file) == 0 && ok;
      if (result == 0 && !ok) result = -1;
      if (result != 0 || std::rename(temp.c_str(), outputFile) != 0) {
        unlink(temp.c_str());
        if (result == 0) result = -1;
      }
    }
    fz_drop_context(ctx);
    return result;
  } catch (...) {
    return -1;
  }
}

}  // namespace

extern "C" {

int PDF2TXT(int handle, const char* pageList, const char* outputFile, int,
            ProgressCallback callback) {
  return WriteText(handle, pageList, outputFile, callback, false);
}

int PDF2RTF(int handle, const char* pageList, const char* outputFile, ProgressCallback callback) {
  return WriteText(handle, pageList, outputFile, callback, true);
}

}  // extern "C"
