/* Rastmond: the PDF engine. Opens PDF documents, counts their pages and renders page ranges
 * into image files. Texts are NUL-terminated 8-bit texts in the locale's encoding (UTF-8).
 *
 * Handles are small positive integers; every call refuses anything that is not an open
 * handle. Results: 0 or more = done; -1 internal error (also: a page could not be rendered
 * or written, the others were), -2 the document needs a password, -3 the document forbids
 * copying (text output only), -4 the callback asked to stop.
 *
 * Page images are written into `folder` as base + "-" + page number + extension, the number
 * zero-padded to the digit count of the document's page count (report-01.jpg ... for 12
 * pages). A file appears only complete: it is written under a hidden temporary name in the
 * same folder and renamed; an aborted or failed page leaves nothing behind. An existing file
 * of the same name is replaced.
 *
 * The callback runs on the calling thread once per page of the range, in page order, as each
 * page is done (page = its number; a and b are 0). Returning 0 stops the call: no further page
 * starts, pages being rendered are cancelled and the call returns -4. Pages are rendered in
 * parallel on every core; while the callback runs, no new page is started.
 *
 * Nothing the engine does writes to standard output or standard error. */
#ifndef RASTMOND_H
#define RASTMOND_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(RASTMOND_BUILD)
#define RASTMOND_API __attribute__((visibility("default")))
#else
#define RASTMOND_API
#endif

typedef int (*ProgressCallback)(int a, int b, int page);

/* The engine's resource folder. Kept for the engine's use; result 0. */
RASTMOND_API int SetRCPath(const char* folder);

/* Opens a PDF: a handle > 0, or < 0 for a missing, unreadable, empty or non-PDF file, a
 * folder, or a document without a page tree. A document that needs a password opens (its
 * render calls return -2). `flags` must be 0. */
RASTMOND_API int OpenPDF(const char* path, int flags);

/* The document's page count, or -1 for a handle that is not open. */
RASTMOND_API int GetPageCount(int handle);

/* Closes an open document; anything else is ignored. Result 0, or -1 for no open handle. */
RASTMOND_API int ClosePDF(int handle);

/* Pages first..last (clamped to the document) as JPEG files (".jpg") at the given dots per
 * inch, quality 1..100, gray 1 for 8-bit gray or 0 for RGB; the JFIF header records the dpi.
 * A page wider or taller than 65500 pixels is skipped (the call goes on and returns -1). */
RASTMOND_API int PDF2JPG(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback, int quality, int gray);

/* Pages first..last as TIFF files (".tif") through libtiff, one strip per band of rows.
 * compression: 1 none, 5 LZW, 7 JPEG (quality 75), 8 deflate; any other value means none.
 * colorDepth 8 writes 8-bit gray, anything else 24-bit RGB. tiffOption 1 writes one
 * multi-page file base + ".tif" holding the pages in order instead of a file per page (it
 * appears when all pages are in; a stopped call leaves nothing). */
RASTMOND_API int PDF2TIF(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback, int compression,
                         int colorDepth, int tiffOption);
/* The other image formats, each with its extension and the page rules above:
 * PDF2PNG 8-bit RGB PNG (".png", the dpi in pHYs); PDF2GIF 8-bit GIF (".gif"): a page
 * without colour gets an exact 256-level gray palette, a colour page a 6x7x6 colour cube with
 * ordered dithering; PDF2BMP 24-bit uncompressed BMP (".bmp", at most 32767 pixels a side);
 * PDF2PCX 24-bit PCX, three planes, run-length encoded (".pcx"); PDF2TGA 24-bit run-length
 * TGA (".tga"). PCX, TGA and GIF hold at most 65535 pixels a side. */
RASTMOND_API int PDF2PNG(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback);
RASTMOND_API int PDF2GIF(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback);
RASTMOND_API int PDF2BMP(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback);
RASTMOND_API int PDF2PCX(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback);
RASTMOND_API int PDF2TGA(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                         int first, int last, ProgressCallback callback);
/* The text of the pages of pageList ("1-3,5,7-9", in that order; pages outside the document
 * are left out) into outputFile, written whole or not at all. PDF2TXT: UTF-8 plain text, a
 * line per text line, an empty line after each block and a form feed between pages; the
 * callback once per page (reserved must be 0). PDF2RTF: an RTF document, one paragraph per
 * block, a page break between pages; the callback twice per page. -2 for a document that
 * needs a password, -3 for one that forbids copying its text. */
RASTMOND_API int PDF2TXT(int handle, const char* pageList, const char* outputFile, int reserved,
                         ProgressCallback callback);
RASTMOND_API int PDF2RTF(int handle, const char* pageList, const char* outputFile,
                         ProgressCallback callback);

#ifdef __cplusplus
}
#endif

#endif
