#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

TEST(AppSettings, MissingFileGivesTheDefaults) {
  TempDir dir;
  const AppSettings s = read_app_settings(dir / "Brenvale.xml");
  EXPECT_EQ(s.project_name, "");
  EXPECT_EQ(s.ip_address, "192.168.2.205");
  EXPECT_EQ(s.language, "English");
  EXPECT_FALSE(s.enable_internet);
  EXPECT_FALSE(s.enable_update);
}

TEST(AppSettings, SaveAfterDefaultsHoldsTheFiveDefaults) {
  TempDir dir;
  ASSERT_TRUE(save_app_settings(dir / "Brenvale.xml", AppSettings{}).ok());
  EXPECT_EQ(read_text(dir / "Brenvale.xml"),
            "<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress>192.168.2.205</ipaddress>"
            "</lastipadd><lastlang><language>English</language></lastlang><lastinternet><enable_internet>0"
            "</enable_internet><enable_update>0</enable_update></lastinternet></Conf_Settings>");
}

TEST(AppSettings, EachValueFallsBackOnItsOwn) {
  TempDir dir;
  write_text(dir / "Brenvale.xml", "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>");
  const AppSettings s = read_app_settings(dir / "Brenvale.xml");
  EXPECT_EQ(s.language, "Deutsch");
  EXPECT_EQ(s.ip_address, "192.168.2.205");
  EXPECT_EQ(s.project_name, "");
  EXPECT_FALSE(s.enable_internet);
}

TEST(AppSettings, FlagsAreOnOnlyForExactlyOne) {
  TempDir dir;
  for (const char* text : {"true", " 1", "1 ", "01", ""}) {
    write_text(dir / "Brenvale.xml", std::string("<Conf_Settings><lastinternet><enable_internet>") + text +
                                         "</enable_internet><enable_update>1</enable_update></lastinternet></Conf_Settings>");
    const AppSettings s = read_app_settings(dir / "Brenvale.xml");
    EXPECT_FALSE(s.enable_internet) << text;
    EXPECT_TRUE(s.enable_update) << text;
    EXPECT_FALSE(s.update_check_enabled());
  }
}

TEST(AppSettings, RoundTrip) {
  TempDir dir;
  AppSettings s;
  s.project_name = "Truck & Bus";
  s.ip_address = "10.0.0.7";
  s.language = "Fran\xC3\xA7" "ais";
  s.enable_internet = true;
  s.enable_update = true;
  ASSERT_TRUE(save_app_settings(dir / "Brenvale.xml", s).ok());
  const AppSettings back = read_app_settings(dir / "Brenvale.xml");
  EXPECT_EQ(back.project_name, s.project_name);
  EXPECT_EQ(back.ip_address, s.ip_address);
  EXPECT_EQ(back.language, s.language);
  EXPECT_TRUE(back.update_check_enabled());
}

TEST(AppSettings, BrokenFileGivesDefaults) {
  TempDir dir;
  write_text(dir / "Brenvale.xml", "<Conf_Settings><lastproj>");
  const AppSettings s = read_app_settings(dir / "Brenvale.xml");
  EXPECT_EQ(s.language, "English");
}

}  // namespace
}  // namespace brenvale
