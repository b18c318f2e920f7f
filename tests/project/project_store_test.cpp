#include <algorithm>

#include <gtest/gtest.h>

#include "project/configurations.h"
#include "project/project_store.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::TempDir;

TEST(ProjectStore, CreatesTheThreeFoldersOnce) {
  TempDir dir;
  const AppFolders folders{dir.path()};
  create_app_folders(folders);
  create_app_folders(folders);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "MASTER"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "PROJECTS"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "LANGUAGE"));
}

TEST(ProjectStore, FileSetOfAnActiveConfiguration) {
  TempDir dir;
  ActiveConfiguration active(AppFolders{dir.path()});
  EXPECT_FALSE(active.is_open());
  active.activate("Test");
  ASSERT_TRUE(active.is_open());
  const ConfigFiles files = active.files();
  EXPECT_EQ(files.par_gen(), dir.path() / "PROJECTS" / "Test" / "ParGen.xml");
  EXPECT_EQ(files.sdo_read().filename(), "RInfoCob.xml");
  EXPECT_EQ(files.sdo_write().filename(), "TInfoCob.xml");
  EXPECT_EQ(files.bin(), dir.path() / "PROJECTS" / "Test" / "bin");
  active.activate("");
  EXPECT_FALSE(active.is_open());
  EXPECT_EQ(active.name(), "");
}

TEST(ProjectStore, RestoreNeedsTheFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir / "PROJECTS" / "Kept");
  ActiveConfiguration active(AppFolders{dir.path()});
  active.restore("Gone");
  EXPECT_FALSE(active.is_open());
  active.restore("Kept");
  EXPECT_EQ(active.name(), "Kept");
  active.restore("..");
  EXPECT_FALSE(active.is_open());
}

TEST(Configurations, CreationChecksInOrder) {
  TempDir dir;
  const AppFolders folders{dir.path()};
  create_app_folders(folders);
  ActiveConfiguration active(folders);

  EXPECT_EQ(create_configuration(active, ""), CreateResult::kEmptyName);
  EXPECT_EQ(create_configuration(active, "Truck 1"), CreateResult::kCreated);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "PROJECTS" / "Truck 1" / "bin"));
  EXPECT_EQ(active.name(), "Truck 1");
  EXPECT_EQ(create_configuration(active, "Truck 1"), CreateResult::kAlreadyExists);
  // Names are used as typed: blanks and dots inside a name are fine.
  EXPECT_EQ(create_configuration(active, " v1.2 "), CreateResult::kCreated);
  EXPECT_EQ(active.name(), " v1.2 ");
}

TEST(Configurations, NamesThatLeaveProjectsAreRefused) {
  TempDir dir;
  const AppFolders folders{dir.path()};
  create_app_folders(folders);
  ActiveConfiguration active(folders);
  active.activate("Before");
  for (const std::string& name : std::vector<std::string>{".", "..", "../escape", "a/b", "a\\b", "/abs", std::string("a\0b", 3)}) {
    EXPECT_EQ(create_configuration(active, name), CreateResult::kCreateFailed) << name;
  }
  EXPECT_EQ(active.name(), "Before");
  EXPECT_FALSE(std::filesystem::exists(dir / "escape"));
  EXPECT_EQ(testing::entry_count(dir / "PROJECTS"), 0u);
}

TEST(Configurations, ListingSkipsFilesAndHiddenFolders) {
  TempDir dir;
  const AppFolders folders{dir.path()};
  std::filesystem::create_directories(dir / "PROJECTS" / "Test");
  std::filesystem::create_directories(dir / "PROJECTS" / "Other");
  std::filesystem::create_directories(dir / "PROJECTS" / ".hidden");
  testing::write_text(dir / "PROJECTS" / "file.txt", "x");
  std::vector<std::string> names = list_configurations(folders);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Other", "Test"}));
}

TEST(Configurations, PreselectIgnoresLetterCase) {
  const std::vector<std::string> names{"Other", "Test"};
  EXPECT_EQ(preselect_configuration(names, "test"), 1);
  EXPECT_EQ(preselect_configuration(names, "missing"), 0);
  EXPECT_EQ(preselect_configuration({}, "test"), -1);
  EXPECT_EQ(find_configuration(names, "TEST"), 1);
  EXPECT_EQ(find_configuration(names, "Tes"), -1);
}

TEST(Configurations, MissingProjectsFolderListsNothing) {
  TempDir dir;
  EXPECT_TRUE(list_configurations(AppFolders{dir / "nowhere"}).empty());
}

}  // namespace
}  // namespace brenvale
