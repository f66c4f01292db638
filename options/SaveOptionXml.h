// The options module "SaveOptionXml": an options store kept in an XML document. Created by name
// through the module registry and called by slot, so the order below is its binary interface.
//
// A key is a path of element names separated by backslashes: "product\version" is the text
// of <version> inside the document element <product>. Texts are NUL-terminated UTF-16.
#pragma once

#include "Plug.h"

inline constexpr char SAVE_OPTION_XML[] = "SaveOptionXml";

class I_SaveOptionXml : public I_Plug {
 public:
  // slot 3: writes the current document to `path` (UTF-8, indented); true when written.
  virtual bool Save(const char16_t* path) = 0;
  // slot 4: loads `path` as the current document, replacing the earlier one. A missing,
  // unreadable or malformed file leaves an empty document and returns false.
  virtual bool Load(const char16_t* path) = 0;
  // slot 5: sets the text of `key`, creating its elements as needed.
  virtual void SetText(const char16_t* key, const char16_t* value) = 0;
  // slot 6: the text of `key`; "" for a missing key or document, never null. Valid until the
  // next call on the module.
  virtual const char16_t* GetText(const char16_t* key) = 0;
  // slot 7: sets `key` to the decimal text of `value`.
  virtual void SetInt(const char16_t* key, int32_t value) = 0;
  // slot 8: whether `key` exists in the current document.
  virtual bool HasKey(const char16_t* key) = 0;
  // slot 9: removes `key` and what it holds; true when there was one.
  virtual bool RemoveKey(const char16_t* key) = 0;
  // slot 10: empties the current document.
  virtual void Clear() = 0;
  // slot 11: the number of child elements of `key` ("" for the document itself).
  virtual int32_t ChildCount(const char16_t* key) = 0;
  // slot 12: the text of `key` as a decimal integer; 0 when missing or not a number.
  virtual int32_t GetInt(const char16_t* key) = 0;

 protected:
  ~I_SaveOptionXml() = default;
};
