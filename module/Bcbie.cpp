#include "Bcbie.h"

int MakeWebLinks(int languageIndex, const QString& webName, CSTRWEBLINK* links) {
  if (!links) return 0;
  const bool known = languageIndex >= 0 && languageIndex < 4;
  const QString domain = webName + QString::fromLatin1(DOMAIN_SUFFIXES[known ? languageIndex : 0]);
  links->Home = QStringLiteral("http://www.") + domain;
  links->Support = links->Home + QStringLiteral("/support.html");
  links->Mail = QStringLiteral("support@") + domain;
  links->PurchaseBase = links->Home + QStringLiteral("/purchase/");
  return 1;
}
