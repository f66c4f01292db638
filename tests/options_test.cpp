#include <dlfcn.h>

#include <QString>
#include <fstream>

#include <gtest/gtest.h>

#include "SaveOptionXml.h"
#include "TestSupport.h"

namespace {

std::u16string U(const std::string& text) {
  return QString::fromStdString(text).toStdU16String();
}
std::string S(const char16_t* text) {
  return QString::fromUtf16(text).toStdString();
}

// The options plug-in loaded alone in this process, and one module made by name.
class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    library = dlopen(SAVE_OPTION_XML_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    module = static_cast<I_SaveOptionXml*>(Plug::CreateModule(SAVE_OPTION_XML));
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    if (module) module->Release();
    if (library) dlclose(library);
  }
  bool Load(const std::filesystem::path& path) { return module->Load(U(path.string()).c_str()); }
  void* library = nullptr;
  I_SaveOptionXml* module = nullptr;
  TempDir dir;
};

// Calls virtual slot `slot` of `object` as callers in other libraries do: by position.
template <typename Result, typename... Args>
Result CallSlot(void* object, int slot, Args... args) {
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Result (*)(void*, Args...)>(table[slot])(object, args...);
}

TEST_F(Options, AnswersTheShippedConfigurationBySlot) {
  const std::u16string shipped = U(SHIPPED_CONFIG);
  ASSERT_TRUE(CallSlot<bool>(module, 4, shipped.c_str()));
  EXPECT_EQ(S(CallSlot<const char16_t*>(module, 6, u"product\\version")), PROJECT_VERSION_TEXT);
  EXPECT_EQ(CallSlot<int32_t>(module, 12, u"product\\version"), 0);  // "1.0.0": not a number
}

TEST_F(Options, AnswersTheShippedConfiguration) {
  ASSERT_TRUE(Load(SHIPPED_CONFIG));
  EXPECT_EQ(S(module->GetText(u"product\\version")), PROJECT_VERSION_TEXT);
  EXPECT_FALSE(S(module->GetText(u"product\\purchase_code")).empty());
  EXPECT_FALSE(S(module->GetText(u"product\\purchase_officallink")).empty());
  EXPECT_EQ(S(module->GetText(u"product\\nothing")), "");
  EXPECT_EQ(module->GetInt(u"product\\version"), 0);  // "1.0.0" is not a number
}

TEST_F(Options, MissingAndMalformedFilesLeaveAnEmptyDocument) {
  const auto file = dir.Path() / "c.xml";
  std::ofstream(file) << "<product><version>3</version><n> 42 </n><x>4x</x></product>";
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(module->GetInt(u"product\\n"), 42);
  EXPECT_EQ(module->GetInt(u"product\\x"), 0);
  EXPECT_EQ(module->GetInt(u"product\\missing"), 0);

  std::ofstream(dir.Path() / "broken.xml") << "<product><version>3</version>";
  std::ofstream(dir.Path() / "empty.xml").close();
  std::filesystem::create_directories(dir.Path() / "folder.xml");
  for (const char* name : {"missing.xml", "broken.xml", "empty.xml", "folder.xml"}) {
    ASSERT_TRUE(Load(file));
    EXPECT_FALSE(Load(dir.Path() / name)) << name;
    const char16_t* text = module->GetText(u"product\\version");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(S(text), "") << name;  // the earlier document is gone
    EXPECT_EQ(module->ChildCount(u""), 0);
  }
  EXPECT_FALSE(module->Load(u""));
  EXPECT_FALSE(module->Load(nullptr));
  EXPECT_NE(module->GetText(nullptr), nullptr);
}

TEST_F(Options, StoresSavesAndReloads) {
  module->SetText(u"product\\name", u"Résumé \u4e2d");
  module->SetInt(u"product\\count", -7);
  EXPECT_TRUE(module->HasKey(u"product\\count"));
  EXPECT_EQ(module->ChildCount(u"product"), 2);
  const auto file = dir.Path() / "saved.xml";
  ASSERT_TRUE(module->Save(U(file.string()).c_str()));
  module->Clear();
  EXPECT_FALSE(module->HasKey(u"product"));
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(QString::fromUtf16(module->GetText(u"product\\name")),
            QString::fromUtf16(u"Résumé \u4e2d"));
  EXPECT_EQ(module->GetInt(u"product\\count"), -7);
  EXPECT_TRUE(module->RemoveKey(u"product\\count"));
  EXPECT_FALSE(module->RemoveKey(u"product\\count"));
  EXPECT_EQ(module->ChildCount(u"product"), 1);
}

TEST(OptionsLibrary, RegistersAndRemovesTheRegistry) {
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
  void* library = dlopen(SAVE_OPTION_XML_SO, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  Plug::PlugModuleManage* table = Plug::OpenModuleManage(Plug::RegistryName);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->count, 1);
  EXPECT_NE(table->Find("SaveOptionXml"), nullptr);
  I_Plug* module = Plug::CreateModule("SaveOptionXml");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->AddRef(), 2);
  module->Release();
  module->Release();
  dlclose(library);
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
}

}  // namespace
