// The maker's web addresses, built from its web name and a language index.
#pragma once

#include <QString>

struct CSTRWEBLINK {
  QString Home;
  QString Support;
  QString Mail;          // filled, read by nothing
  QString PurchaseBase;  // the home site's purchase folder
};

// National domains by language index (from "config-ext.xml"; 0 without it).
inline constexpr const char* DOMAIN_SUFFIXES[4] = {".com", ".jp", ".de", ".fr"};

// Fills `links` for the language index and web name; 0 when `links` is null, else 1. An
// index outside the table uses the first suffix.
int MakeWebLinks(int languageIndex, const QString& webName, CSTRWEBLINK* links);
