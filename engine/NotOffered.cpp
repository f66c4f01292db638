// Output types the engine does not offer yet.
#include "Rastmond.h"

extern "C" {

int PDF2TIF(int, const char*, const char*, int, int, int, int, ProgressCallback, int, int, int) {
  return -1;
}
int PDF2PNG(int, const char*, const char*, int, int, int, int, ProgressCallback) {
  return -1;
}
int PDF2GIF(int, const char*, const char*, int, int, int, int, ProgressCallback) {
  return -1;
}
int PDF2BMP(int, const char*, const char*, int, int, int, int, ProgressCallback) {
  return -1;
}
int PDF2PCX(int, const char*, const char*, int, int, int, int, ProgressCallback) {
  return -1;
}
int PDF2TGA(int, const char*, const char*, int, int, int, int, ProgressCallback) {
  return -1;
}
int PDF2TXT(int, const char*, const char*, int, ProgressCallback) {
  return -1;
}
int PDF2RTF(int, const char*, const char*, ProgressCallback) {
  return -1;
}
}
