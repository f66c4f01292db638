#include <dlfcn.h>

#include <fstream>

#include <gtest/gtest.h>

#include "Bcbie.h"
#include "MuiContext.h"
#include "TestSupport.h"

namespace {

const char kPurchase[] = "https://order.reseller.example/checkout/buy.php?ITEMS=30917-417";

TEST(CommandLine, Options) {
  using Args = std::vector<std::string>;
  const struct {
    Args args;
    QString suite;
    QStringList files;
  } cases[] = {
      {{}, "", {}},
      {{"-f"}, "", {}},
      {{"a.pdf"}, "", {}},
      {{"-s", "http://suite.example/"}, "http://suite.example/", {}},
      {{"-f", "a.pdf", "b.pdf"}, "", {"a.pdf", "b.pdf"}},
      {{"-f", "a.pdf"}, "", {"a.pdf"}},
      {{"-S", "x"}, "", {}},
      {{"-F", "x"}, "", {}},
      {{"-f", "a.pdf", "-s", "x"}, "x", {"a.pdf", "-s", "x"}},
      {{"-f", "a.pdf", "-f", "b.pdf"}, "", {"a.pdf", "-f", "b.pdf", "b.pdf"}},
      {{"-s", "one", "-s", "two"}, "two", {}},
      {{"x.pdf", "-s"}, "", {}},  // the last argument is never an option
      {{"-f", "/tmp/r\xc3\xa9sum\xc3\xa9.pdf"}, "", {QString::fromUtf8("/tmp/résumé.pdf")}},
  };
  for (const auto& c : cases) {
    MuiContext context;
    ReadCommandLine(context, c.args);
    EXPECT_EQ(context.SuiteLink, c.suite) << c.args.size();
    EXPECT_EQ(context.StartupFiles, c.files) << c.args.size();
  }
}

TEST(CommandLine, ProcessArgumentsAreThisProcesssOwn) {
  std::vector<std::string> argv = testing::internal::GetArgvs();  // as main received them
  argv.erase(argv.begin());
  EXPECT_EQ(ProcessArguments(), argv);
}

TEST(WebLinks, SuffixesAndAddresses) {
  const char* expected[] = {".com", ".jp", ".de", ".fr"};
  for (int i = 0; i < 4; ++i) {
    CSTRWEBLINK links;
    ASSERT_EQ(MakeWebLinks(i, "maker", &links), 1);
    const QString home = QStringLiteral("http://www.maker") + expected[i];
    EXPECT_EQ(links.Home, home);
    EXPECT_EQ(links.Support, home + "/support.html");
    EXPECT_EQ(links.PurchaseBase, home + "/purchase/");
    EXPECT_EQ(links.Mail, QStringLiteral("support@maker") + expected[i]);
  }
  for (const int outside : {-1, 4, 1000}) {
    CSTRWEBLINK links;
    MakeWebLinks(outside, "maker", &links);
    EXPECT_EQ(links.Home, "http://www.maker.com") << outside;
  }
  EXPECT_EQ(MakeWebLinks(0, "maker", nullptr), 0);
}

TEST(Folders, FromTheLaunchersFolderAndTitle) {
  MuiContext context;
  SetupFolders(context, "/opt/app/", "My Title", kPurchase);
  EXPECT_EQ(context.ExeFolder, "/opt/app/");
  EXPECT_EQ(context.DataFolder, "/opt/app/sys/soft/My Title/");
  EXPECT_EQ(context.Title, "My Title");
  EXPECT_EQ(context.StudioName, "Glimmerhof Studio");
  EXPECT_EQ(context.PurchaseLink, kPurchase);
  EXPECT_EQ(
      LauncherFolder(),
      QString::fromStdString(std::filesystem::canonical("/proc/self/exe").parent_path()) + "/");
}

// A launcher folder with its data folder, config.xml and (when given) config-ext.xml.
struct Installation {
  TempDir dir;
  MuiContext context;
  Installation(const std::string& config, const std::string& configExt) {
    const std::filesystem::path data = dir.Path() / "sys" / "soft" / "T";
    std::filesystem::create_directories(data);
    if (!config.empty()) std::ofstream(data / "config.xml") << config;
    if (!configExt.empty()) std::ofstream(dir.Path() / "config-ext.xml") << configExt;
    SetupFolders(context, QString::fromStdString(dir.Path().string()) + "/", "T", kPurchase);
  }
};

const char kConfig[] =
    "<product><version>2.5.1</version><purchase_code>&amp;c=9</purchase_code>"
    "<purchase_officallink>conv.html</purchase_officallink></product>";

std::string Ext(int language, int webType) {
  return "<product><language>" + std::to_string(language) + "</language><webtype>" +
         std::to_string(webType) + "</webtype></product>";
}

class Configuration : public ::testing::Test {
 protected:
  void SetUp() override {
    options = dlopen(SAVE_OPTION_XML_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(options, nullptr) << dlerror();
  }
  void TearDown() override { dlclose(options); }
  void* options = nullptr;
};

TEST_F(Configuration, WithoutConfigExtTheOfficialPageIsTheBuyLink) {
  Installation install(kConfig, "");
  ReadConfiguration(install.context);
  const MuiContext& c = install.context;
  EXPECT_EQ(c.Version, "2.5.1");
  EXPECT_EQ(c.PurchaseLink, QString(kPurchase) + "&c=9");
  EXPECT_EQ(c.HomeLink, "http://www.glimmerhof.com");
  EXPECT_EQ(c.SupportLink, "http://www.glimmerhof.com/support.html");
  EXPECT_EQ(c.BuyLink, "http://www.glimmerhof.com/purchase/purchase-conv.html");
  EXPECT_EQ(c.Copyright, QString::fromUtf16(COPYRIGHT_LINE));
  EXPECT_EQ(c.MakerShortName, "Glimmerhof");
  EXPECT_TRUE(c.Spare1.isEmpty() && c.Spare2.isEmpty() && c.Spare3.isEmpty());
}

TEST_F(Configuration, WebTypeAndLanguage) {
  const QString withCode = QString(kPurchase) + "&c=9";
  const struct {
    int language, webType;
    QString home, buy;
  } cases[] = {
      {0, 0, "http://www.glimmerhof.com", withCode},
      {1, 1, "http://www.glimmerhof.jp", withCode},
      {2, 2, "http://www.glimmerhof.de", "http://www.glimmerhof.de/purchase/purchase-conv.html"},
      {3, 3, "http://www.glimmerhof.fr", ""},
      {7, -1, "http://www.glimmerhof.com", ""},
  };
  for (const auto& c : cases) {
    Installation install(kConfig, Ext(c.language, c.webType));
    ReadConfiguration(install.context);
    EXPECT_EQ(install.context.HomeLink, c.home) << c.language;
    EXPECT_EQ(install.context.BuyLink, c.buy) << c.webType;
  }
}

TEST_F(Configuration, MissingOrBrokenFilesGiveEmptyValues) {
  for (const std::string config : {"", "<product><version>1.0", "not xml at all"}) {
    Installation install(config, "<product><language>2");  // a broken config-ext.xml too
    ReadConfiguration(install.context);
    EXPECT_EQ(install.context.Version, "");
    EXPECT_EQ(install.context.PurchaseLink, kPurchase);
    EXPECT_EQ(install.context.HomeLink, "http://www.glimmerhof.com");
    EXPECT_EQ(install.context.BuyLink, "http://www.glimmerhof.com/purchase/purchase-");
  }
}

TEST_F(Configuration, ExternalEntitiesAreNeverLoaded) {
  TempDir secret;
  const std::string path = (secret.Path() / "secret.txt").string();
  std::ofstream(path) << "9.9.9-secret";
  const std::string config =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE product [<!ENTITY leak SYSTEM \"file://" + path +
      "\">]>\n<product><version>&leak;</version></product>";
  Installation install(config, "");
  ReadConfiguration(install.context);
  EXPECT_FALSE(install.context.Version.contains("secret")) << install.context.Version.toStdString();
}

TEST(ConfigurationWithoutOptions, StopsWithAnError) {
  Installation install(kConfig, "");
  EXPECT_THROW(ReadConfiguration(install.context), std::runtime_error);
}

}  // namespace
