#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "options/language_list.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::write_text;

TEST(LanguageFiles, PlainWritableLngFilesSortedIgnoringCase) {
  TempDir dir;
  for (const char* name : {"italiano.lng", "Deutsch.lng", "English.lng", "español.lng", "Dansk.lng", "notes.txt",
                           "Deutsch.bmp", "Old.lng.bak", "Upper.LNG", ".lng"}) {
    write_text(dir / name, "STR0 = x\n");
  }
  fs::create_directory(dir / "Folder.lng");
  write_text(dir / "Locked.lng", "STR0 = x\n");
  fs::permissions(dir / "Locked.lng", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  fs::create_symlink(dir / "Deutsch.lng", dir / "Link.lng");

  EXPECT_EQ(list_language_files(dir.path()),
            (std::vector<std::string>{"Dansk.lng", "Deutsch.lng", "English.lng", "español.lng", "italiano.lng"}));
}

TEST(LanguageFiles, MissingFolderGivesNoEntries) {
  TempDir dir;
  EXPECT_TRUE(list_language_files(dir / "LANGUAGE").empty());
}

TEST(LanguageFiles, LanguageIsTheNameWithoutItsExtension) {
  EXPECT_EQ(language_of_file("Français.lng"), "Français");
  EXPECT_EQ(language_of_file("A.lng"), "A");
}

TEST(LanguagePages, PageCountIsSixToAPage) {
  const struct {
    std::size_t entries;
    int pages;
  } cases[] = {{0, 0}, {1, 1}, {6, 1}, {7, 2}, {12, 2}, {13, 3}};
  for (const auto& c : cases) EXPECT_EQ(language_page_count(c.entries), c.pages) << c.entries;
}

TEST(LanguagePages, SevenEntriesGiveTwoPages) {
  const LanguagePage first = language_page(7, 1);
  EXPECT_EQ(first.page_count, 2);
  EXPECT_FALSE(first.prev_visible);
  EXPECT_TRUE(first.next_visible);
  for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(first.slot_entries[k], k);

  const LanguagePage second = language_page(7, 2);
  EXPECT_TRUE(second.prev_visible);
  EXPECT_FALSE(second.next_visible);
  EXPECT_EQ(second.slot_entries[0], 6u);
  for (std::size_t k = 1; k < 6; ++k) EXPECT_FALSE(second.slot_entries[k].has_value());
}

TEST(LanguagePages, SixEntriesGiveOnePageWithoutButtons) {
  const LanguagePage page = language_page(6, 1);
  EXPECT_EQ(page.page_count, 1);
  EXPECT_FALSE(page.prev_visible);
  EXPECT_FALSE(page.next_visible);
  EXPECT_EQ(page.slot_entries[5], 5u);
}

TEST(LanguagePages, NoEntriesShowPageOneOfZero) {
  const LanguagePage page = language_page(0, 1);
  EXPECT_EQ(page.page_count, 0);
  EXPECT_FALSE(page.prev_visible);
  // Page 1 is not the last of zero pages, so Next stays visible and leads nowhere.
  EXPECT_TRUE(page.next_visible);
  for (const auto& slot : page.slot_entries) EXPECT_FALSE(slot.has_value());
  EXPECT_EQ(next_language_page(1, 0), 1);
  EXPECT_EQ(language_page_line(Catalogue{}, 1, 0), "Page 1 / 0");
}

TEST(LanguagePages, TurningStopsAtBothEnds) {
  const struct {
    int page;
    std::size_t entries;
    int previous;
    int next;
  } cases[] = {{1, 7, 1, 2}, {2, 7, 1, 2}, {1, 6, 1, 1}, {2, 13, 1, 3}, {3, 13, 2, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(previous_language_page(c.page), c.previous) << c.page << " of " << c.entries;
    EXPECT_EQ(next_language_page(c.page, c.entries), c.next) << c.page << " of " << c.entries;
  }
}

TEST(LanguageTexts, JoinedFromTheCatalogue) {
  Catalogue catalogue;
  EXPECT_EQ(language_page_line(catalogue, 2, 3), "Page 2 / 3");
  EXPECT_EQ(selected_language_line(catalogue, "English"), "Selected Language : English");
  EXPECT_EQ(language_question(catalogue, "English", "Deutsch"),
            "Do you want to change the Language from English to Deutsch?");
  catalogue.set(205, "Sprache von ");
  catalogue.set(206, " nach ");
  catalogue.set(207, " wechseln?");
  EXPECT_EQ(language_question(catalogue, "English", "Deutsch"), "Sprache von English nach Deutsch wechseln?");
}

TEST(FlagPicture, OwnThenDefaultThenNone) {
  TempDir dir;
  EXPECT_FALSE(flag_picture(dir.path(), "Deutsch").has_value());
  write_text(dir / "DefaultFlag.bmp", "BM");
  EXPECT_EQ(flag_picture(dir.path(), "Deutsch"), dir / "DefaultFlag.bmp");
  write_text(dir / "Deutsch.bmp", "BM");
  EXPECT_EQ(flag_picture(dir.path(), "Deutsch"), dir / "Deutsch.bmp");
  fs::create_directory(dir / "Italiano.bmp");
  EXPECT_EQ(flag_picture(dir.path(), "Italiano"), dir / "DefaultFlag.bmp");
}

TEST(InternetChecks, EnablingFollowsTheTicks) {
  const struct {
    bool internet, update, update_enabled, button_enabled;
  } cases[] = {
      {false, false, false, false},
      {false, true, false, false},
      {true, false, true, false},
      {true, true, true, true},
  };
  for (const auto& c : cases) {
    const InternetChecks checks = internet_checks(c.internet, c.update);
    EXPECT_EQ(checks.update_enabled, c.update_enabled) << c.internet << c.update;
    EXPECT_EQ(checks.check_button_enabled, c.button_enabled) << c.internet << c.update;
  }
}

}  // namespace
}  // namespace brenvale
