// What every window needs to know about the product and the installation, gathered at start.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct MuiContext {
  QString DataFolder;  // ExeFolder + "sys/soft/" + Title + "/": config.xml, skins, help
  QString ExeFolder;   // the launcher's folder, "/" at the end: config-ext.xml, RC/
  QString StudioName;
  QString Title;
  QString Version;
  QString PurchaseLink;  // the launcher's purchase address + the configured purchase code
  QString BuyLink;       // the purchase link chosen by the web type
  QString HomeLink;
  QString SupportLink;
  QString Copyright;
  QString MakerShortName;
  QString Spare1, Spare2, Spare3;
  QString SuiteLink;         // the value of "-s"
  QStringList StartupFiles;  // the paths after "-f"
};

inline constexpr char STUDIO_NAME[] = "Glimmerhof Studio";
inline constexpr char WEB_NAME[] = "glimmerhof";
inline constexpr char MAKER_SHORT_NAME[] = "Glimmerhof";
inline constexpr char16_t COPYRIGHT_LINE[] =
    u"Copyright \u00a9 2024\u20132026 Glimmerhof Studio. All rights reserved.";

// The context of the running application (its "Tag"): set while the application runs,
// nullptr otherwise.
MuiContext* ContextTag();
void SetContextTag(MuiContext* context);

// The folder of the running program (the launcher), "/" at the end.
QString LauncherFolder();

// Fills the folders, studio name, title and purchase address from the launcher's 8-bit texts.
void SetupFolders(MuiContext& context, const QString& exeFolder, const char* title,
                  const char* purchase);

// Reads config.xml and config-ext.xml through the options module and fills the version, the
// links and the fixed texts. Throws std::runtime_error when no options module is offered.
void ReadConfiguration(MuiContext& context);

// Applies the options "-s" and "-f" of `arguments` (those after the program path).
void ReadCommandLine(MuiContext& context, const std::vector<std::string>& arguments);

// The process's own command line, the program path first, as the kernel holds it.
std::vector<std::string> ProcessCommandLine();
// The same after the program path.
std::vector<std::string> ProcessArguments();
