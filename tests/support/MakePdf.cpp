#include "MakePdf.h"

#include <cstdio>
#include <cstring>

extern "C" {
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>
}

std::string SampleContent(int page, float width, float height) {
  char text[2048];
  const float s = width / 612;
  std::snprintf(text, sizeof text,
                "q %f 0 0 %f 0 0 cm\n"
                "0.92 0.95 1 rg 0 0 612 792 re f\n"
                "%f 0.3 0.2 rg 50 650 %d 40 re f\n"
                "0.1 0.5 0.2 rg 60 300 m 200 600 400 100 550 400 c 550 300 l h f\n"
                "0 0 0 RG 3 w 20 20 m 592 772 l S 592 20 m 20 772 l S\n"
                "1 0 0 RG 0.7 w 306 396 m 406 396 l 356 496 l h S\n"
                "BT /F1 36 Tf 0 0 0.4 rg 72 700 Td (Page %d) Tj ET\n"
                "BT /F1 12 Tf 0 g 72 200 Td (The quick brown fox jumps over the lazy dog.) Tj ET\n"
                "Q\n",
                s, height / 792, (page % 10) / 10.0, 40 * (page % 12 + 1), page);
  return text;
}

bool MakePdf(const std::string& path, const std::vector<TestPage>& pages,
             const PdfOptions& options) {
  fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_UNLIMITED);
  if (!ctx) return false;
  fz_set_warning_callback(
      ctx, [](void*, const char*) {}, nullptr);
  fz_set_error_callback(
      ctx, [](void*, const char*) {}, nullptr);
  pdf_document* volatile doc = nullptr;
  fz_font* volatile font = nullptr;
  pdf_obj* volatile fontRef = nullptr;
  volatile bool ok = true;
  fz_try(ctx) {
    doc = pdf_create_document(ctx);
    font = fz_new_base14_font(ctx, "Helvetica");
    fontRef = pdf_add_simple_font(ctx, doc, font, PDF_SIMPLE_ENCODING_LATIN);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const TestPage& p = pages[i];
      const std::string content =
          p.content.empty() ? SampleContent(static_cast<int>(i + 1), p.width, p.height) : p.content;
      pdf_obj* resources = pdf_new_dict(ctx, doc, 1);
      pdf_obj* fonts = pdf_dict_put_dict(ctx, resources, PDF_NAME(Font), 1);
      pdf_dict_puts(ctx, fonts, "F1", fontRef);
      fz_buffer* buffer = fz_new_buffer_from_copied_data(
          ctx, reinterpret_cast<const unsigned char*>(content.data()), content.size());
      pdf_obj* page =
          pdf_add_page(ctx, doc, fz_make_rect(0, 0, p.width, p.height), 0, resources, buffer);
      pdf_insert_page(ctx, doc, -1, page);
      pdf_drop_obj(ctx, page);
      fz_drop_buffer(ctx, buffer);
      pdf_drop_obj(ctx, resources);
    }
    pdf_write_options write = pdf_default_write_options;
    if (!options.userPassword.empty() || !options.ownerPassword.empty()) {
      write.do_encrypt = PDF_ENCRYPT_AES_256;
      write.permissions = options.permissions;
      std::strncpy(write.upwd_utf8, options.userPassword.c_str(), sizeof write.upwd_utf8 - 1);
      std::strncpy(write.opwd_utf8, options.ownerPassword.c_str(), sizeof write.opwd_utf8 - 1);
    }
    pdf_save_document(ctx, doc, path.c_str(), &write);
  }
  fz_always(ctx) {
    pdf_drop_obj(ctx, fontRef);
    fz_drop_font(ctx, font);
    pdf_drop_document(ctx, doc);
  }
  fz_catch(ctx) {
    ok = false;
  }
  fz_drop_context(ctx);
  return ok;
}

bool MakeSamplePdf(const std::string& path, int count) {
  return MakePdf(path, std::vector<TestPage>(count));
}
