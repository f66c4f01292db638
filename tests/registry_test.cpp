#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Probe.h"

namespace {

std::string SectionName() {
  return "/" + std::to_string(getpid()) + "Plug3.0";
}

bool SectionExists() {
  const int fd = shm_open(SectionName().c_str(), O_RDONLY, 0);
  if (fd >= 0) close(fd);
  return fd >= 0;
}

uint64_t OwnStartTime() {
  FILE* f = std::fopen("/proc/self/stat", "r");
  char buf[1024] = {};
  const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  std::string stat(buf, n);
  const char* p = stat.c_str() + stat.rfind(')') + 2;
  for (int field = 3; field < 22; ++field) p = std::strchr(p, ' ') + 1;
  return std::strtoull(p, nullptr, 10);
}

void* Load(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  EXPECT_NE(handle, nullptr) << dlerror();
  return handle;
}

// The origin of a module made by name, "" when none is made; the module is released.
std::string OriginOf(const char* name) {
  I_Plug* module = Plug::CreateModule(name);
  if (!module) return "";
  std::string origin = static_cast<I_Probe*>(module)->Origin();
  module->Release();
  return origin;
}

Plug::ModuleFactory Factory(int n) {
  return reinterpret_cast<Plug::ModuleFactory>(intptr_t{n});
}

TEST(Registry, NoPluginsNoRegistry) {
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
  EXPECT_EQ(Plug::CreateModule("KovraneMui"), nullptr);
  EXPECT_FALSE(SectionExists());
}

TEST(Registry, SectionHoldsHeaderAndStartTime) {
  void* owner = Load(PROBE_OWNER);
  const int fd = shm_open(SectionName().c_str(), O_RDONLY, 0);
  ASSERT_GE(fd, 0);
  unsigned char raw[16];
  ASSERT_EQ(pread(fd, raw, sizeof raw, 0), 16);
  close(fd);
  Plug::ShareHeader* header;
  uint64_t startTime;
  std::memcpy(&header, raw, 8);
  std::memcpy(&startTime, raw + 8, 8);
  EXPECT_EQ(startTime, OwnStartTime());
  EXPECT_EQ(header->table, Plug::OpenModuleManage(Plug::RegistryName));
  EXPECT_EQ(header->table->count, 1);
  EXPECT_STREQ(header->table->entries[0].name, "Owner");
  dlclose(owner);
}

TEST(Registry, ShadowedNameReappearsAndCaseMatters) {
  void* owner = Load(PROBE_OWNER);
  void* alpha1 = Load(PROBE_ALPHA1);
  void* alpha2 = Load(PROBE_ALPHA2);
  EXPECT_EQ(OriginOf("Owner"), "owner");
  EXPECT_EQ(OriginOf("Alpha"), "alpha1");
  EXPECT_EQ(OriginOf("alpha"), "alpha2");
  EXPECT_EQ(OriginOf("ALPHA"), "");
  dlclose(alpha1);
  EXPECT_EQ(OriginOf("Alpha"), "alpha2");
  dlclose(alpha2);
  EXPECT_EQ(OriginOf("Alpha"), "");
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName)->count, 1);
  dlclose(owner);
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
  EXPECT_FALSE(SectionExists());
}

TEST(Registry, UnloadingTheLaterTwinKeepsTheEarlierOne) {
  void* owner = Load(PROBE_OWNER);
  void* alpha1 = Load(PROBE_ALPHA1);
  void* alpha2 = Load(PROBE_ALPHA2);
  dlclose(alpha2);  // its entries go, not alpha1's of the same name
  EXPECT_EQ(OriginOf("Alpha"), "alpha1");
  EXPECT_EQ(OriginOf("alpha"), "");
  dlclose(alpha1);
  dlclose(owner);
}

TEST(Registry, FailingModulesYieldNone) {
  void* noinit = Load(PROBE_NOINIT);
  void* throws = Load(PROBE_THROW);
  auto live = reinterpret_cast<int (*)()>(dlsym(noinit, "ProbeLiveObjects"));
  ASSERT_NE(live, nullptr);
  EXPECT_EQ(Plug::CreateModule("NoInit"), nullptr);
  EXPECT_EQ(live(), 0);  // made, refused, deleted at once
  EXPECT_EQ(Plug::CreateModule("Throws"), nullptr);
  EXPECT_EQ(Plug::CreateModule("Unknown"), nullptr);
  EXPECT_EQ(Plug::CreateModule("A name far longer than thirty-one"), nullptr);
  dlclose(throws);
  dlclose(noinit);
}

TEST(Registry, OwnerGoneMeansNoRegistry) {
  void* owner = Load(PROBE_OWNER);
  void* alpha1 = Load(PROBE_ALPHA1);
  dlclose(owner);  // out of order: the table is freed with it
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
  EXPECT_EQ(Plug::CreateModule("Alpha"), nullptr);
  dlclose(alpha1);  // must not write into the freed table
  EXPECT_FALSE(SectionExists());
}

TEST(Registry, StaleSectionOfADeadProcessIsReplaced) {
  const int fd = shm_open(SectionName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  const uint64_t stale[2] = {0xdead0000, OwnStartTime() + 1};
  ASSERT_EQ(pwrite(fd, stale, sizeof stale, 0), 16);
  close(fd);
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);
  EXPECT_EQ(Plug::CreateModule("Owner"), nullptr);

  void* owner = Load(PROBE_OWNER);
  EXPECT_EQ(OriginOf("Owner"), "owner");
  dlclose(owner);
  EXPECT_FALSE(SectionExists());
}

TEST(Registry, AnotherProcessDoesNotSeeTheSection) {
  void* owner = Load(PROBE_OWNER);
  const pid_t child = fork();
  if (child == 0) _exit(Plug::OpenModuleManage(Plug::RegistryName) == nullptr ? 0 : 1);
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(OriginOf("Owner"), "owner");
  dlclose(owner);
}

TEST(ModuleTable, AddFindRemove) {
  Plug::PlugModuleManage table{};
  ASSERT_TRUE(table.Add("One", Factory(1)));
  ASSERT_TRUE(table.Add("Two", Factory(2)));
  ASSERT_TRUE(table.Add("One", Factory(3)));
  ASSERT_TRUE(table.Add("Three", Factory(4)));
  EXPECT_EQ(table.Find("One")->factory, Factory(1));
  EXPECT_EQ(table.Find("one"), nullptr);
  EXPECT_EQ(table.Find("On"), nullptr);

  const Plug::PlugModuleManage before = table;
  table.Remove("Missing");
  EXPECT_EQ(std::memcmp(&before, &table, sizeof table), 0);

  table.Remove("One");  // the first only; the rest move down
  ASSERT_EQ(table.count, 3);
  EXPECT_STREQ(table.entries[0].name, "Two");
  EXPECT_EQ(table.Find("One")->factory, Factory(3));
  EXPECT_STREQ(table.entries[2].name, "Three");

  table.Remove("Three", Factory(9));  // another library's twin: not this entry
  EXPECT_EQ(table.count, 3);
  table.Remove("Three", Factory(4));
  EXPECT_EQ(table.count, 2);
}

TEST(ModuleTable, RefusesWhatItCannotHold) {
  Plug::PlugModuleManage table{};
  EXPECT_TRUE(table.Add(std::string(31, 'n').c_str(), Factory(1)));
  EXPECT_FALSE(table.Add(std::string(32, 'n').c_str(), Factory(1)));
  EXPECT_EQ(table.Find(std::string(32, 'n').c_str()), nullptr);
  while (table.count < Plug::PlugModuleManage::Capacity) ASSERT_TRUE(table.Add("x", Factory(2)));
  EXPECT_FALSE(table.Add("last", Factory(3)));
  EXPECT_EQ(table.count, 256);
  EXPECT_EQ(table.Find("last"), nullptr);
}

}  // namespace
