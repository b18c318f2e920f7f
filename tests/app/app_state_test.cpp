#include <gtest/gtest.h>

#include "app/app_state.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

TEST(AppState, StartUpRestoresTheRememberedConfigurationAndLanguage) {
  TempDir dir;
  std::filesystem::create_directories(dir / "PROJECTS" / "Truck");
  write_text(dir / "LANGUAGE" / "Deutsch.lng", "STR22 = Kein Projekt\n");
  write_text(dir / "Brenvale.xml",
             "<Conf_Settings><lastproj><projectname>Truck</projectname></lastproj><lastlang><language>Deutsch"
             "</language></lastlang></Conf_Settings>");
  AppState state(AppFolders{dir.path()});
  state.start_up();
  EXPECT_EQ(state.active.name(), "Truck");
  EXPECT_EQ(state.catalogue.get(22), "Kein Projekt");
  EXPECT_EQ(state.settings.language, "Deutsch");
  EXPECT_TRUE(state.read_back);
  EXPECT_EQ(state.update_option_index, 0);
}

TEST(AppState, SavedNameIsAlwaysTheActiveConfiguration) {
  TempDir dir;
  AppState state(AppFolders{dir.path()});
  state.start_up();
  state.settings.project_name = "Stale";
  ASSERT_TRUE(state.save_settings().ok());
  EXPECT_NE(read_text(dir / "Brenvale.xml").find("<projectname/>"), std::string::npos);
}

TEST(AppState, UnwritableSettingsFileIsReported) {
  TempDir dir;
  AppState state(AppFolders{dir / "missing-folder"});
  const Status saved = state.save_settings();
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().message.find("Brenvale.xml"), std::string::npos);
}

}  // namespace
}  // namespace brenvale
