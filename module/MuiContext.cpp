#include "MuiContext.h"

#include <QFile>
#include <filesystem>
#include <stdexcept>

#include "Bcbie.h"
#include "SaveOptionXml.h"

namespace {

// Releases the options module when the reads are done, also when one throws.
struct OptionsModule {
  I_SaveOptionXml* module;
  ~OptionsModule() { module->Release(); }
  QString Text(const char16_t* key) { return QString::fromUtf16(module->GetText(key)); }
};

bool Load(OptionsModule& options, const QString& path) {
  return options.module->Load(path.toStdU16String().c_str());
}

}  // namespace

namespace {
MuiContext* tag = nullptr;
}

MuiContext* ContextTag() { return tag; }
void SetContextTag(MuiContext* context) { tag = context; }

QString LauncherFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const QString path = QFile::decodeName(exe.c_str());
  return path.left(path.lastIndexOf(u'/') + 1);
}

void SetupFolders(MuiContext& context, const QString& exeFolder, const char* title,
                  const char* purchase) {
  context.ExeFolder = exeFolder;
  context.Title = QString::fromLocal8Bit(title);
  context.DataFolder = exeFolder + QStringLiteral("sys/soft/") + context.Title + u'/';
  context.StudioName = QString::fromLatin1(STUDIO_NAME);
  context.PurchaseLink = QString::fromLocal8Bit(purchase);
}

void ReadConfiguration(MuiContext& context) {
  I_Plug* created = Plug::CreateModule(SAVE_OPTION_XML);
  if (!created) throw std::runtime_error("The options module \"SaveOptionXml\" is not installed.");
  OptionsModule options{static_cast<I_SaveOptionXml*>(created)};

  Load(options, context.DataFolder + QStringLiteral("config.xml"));
  context.Version = options.Text(u"product\\version");
  context.PurchaseLink += options.Text(u"product\\purchase_code");
  const QString official = options.Text(u"product\\purchase_officallink");

  int language = 0, webType = 2;
  if (Load(options, context.ExeFolder + QStringLiteral("config-ext.xml"))) {
    language = options.module->GetInt(u"product\\language");
    webType = options.module->GetInt(u"product\\webtype");
  }
  CSTRWEBLINK links;
  MakeWebLinks(language, QString::fromLatin1(WEB_NAME), &links);
  context.HomeLink = links.Home;
  context.SupportLink = links.Support;
  if (webType == 0 || webType == 1)
    context.BuyLink = context.PurchaseLink;
  else if (webType == 2)
    context.BuyLink = links.PurchaseBase + QStringLiteral("purchase-") + official;

  context.Copyright = QString::fromUtf16(COPYRIGHT_LINE);
  context.MakerShortName = QString::fromLatin1(MAKER_SHORT_NAME);
}
