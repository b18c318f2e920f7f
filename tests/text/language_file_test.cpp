#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/catalogue.h"
#include "text/language_file.h"

namespace brenvale {
namespace {

using testing::TempDir;
using testing::write_text;

struct LineCase {
  const char* line;
  int index;            // -1: the line changes nothing
  const char* text;
};

TEST(LanguageLine, FollowsTheLineRules) {
  const LineCase cases[] = {
      {"STR12 = Hello", 12, "Hello"},
      {"  \tSTR12 = Hello  \t", 12, "Hello"},
      {"STR12=Hello", 1, "Hello"},
      {"STR5=Hello", -1, ""},
      {"STR12  =  Hello", 12, "Hello"},
      {"str12 = Hello", -1, ""},
      {"STR1400 = Hello", -1, ""},
      {"STR1399 = Last", 1399, "Last"},
      {"STR-1 = Hello", -1, ""},
      {"STR12 Hello", -1, ""},
      {"STR12 = a = b", 12, "a = b"},
      {"STR12 = ", -1, ""},
      {"STR12 = /#/ note", -1, ""},
      {"STR12 = Hello /#/ note", 12, "Hello"},
      {"STR12 = \xC2\xB6 Hello \xC2\xB6 /#/ note", 12, " Hello "},
      {"STR12 = \xC2\xB6\xC2\xB6", 12, ""},
      {"STR12 = a\xC2\xB6" "b", 12, "a"},
      {"STR12 = \xC2\xB6" "a/#/b\xC2\xB6", 12, "a"},
      {"STRx = Hello", -1, ""},
      {"; comment line", -1, ""},
      {"", -1, ""},
  };
  for (const LineCase& c : cases) {
    const auto parsed = parse_language_line(c.line);
    if (c.index < 0) {
      EXPECT_FALSE(parsed.has_value()) << c.line;
    } else {
      ASSERT_TRUE(parsed.has_value()) << c.line;
      EXPECT_EQ(parsed->index, c.index) << c.line;
      EXPECT_EQ(parsed->text, c.text) << c.line;
    }
  }
}

TEST(LanguageFile, DecodesByByteOrderMarkOrWindows1252) {
  // "Größe €" in each encoding.
  EXPECT_EQ(decode_language_file("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(decode_language_file(std::string("\xFF\xFEG\0r\0\xF6\0\xDF\0e\0 \0\xAC\x20", 16)),
            "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(decode_language_file(std::string("\xFE\xFF\0G\0r\0\xF6\0\xDF\0e\0 \x20\xAC", 16)),
            "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(decode_language_file("Gr\xF6\xDF" "e \x80"), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
  // A surrogate pair and a lone surrogate.
  EXPECT_EQ(decode_language_file(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), "\xF0\x9F\x98\x80");
  EXPECT_EQ(decode_language_file(std::string("\xFF\xFE\x00\xD8", 4)), "\xEF\xBF\xBD");
}

TEST(Catalogue, AppliesFilesWithEveryLineEnd) {
  Catalogue catalogue;
  catalogue.apply_text("STR11 = Neu\r\nSTR12 = Offen\nSTR13 = Setzen\rSTR14 = Letzte");
  EXPECT_EQ(catalogue.get(11), "Neu");
  EXPECT_EQ(catalogue.get(12), "Offen");
  EXPECT_EQ(catalogue.get(13), "Setzen");
  EXPECT_EQ(catalogue.get(14), "Letzte");
}

TEST(Catalogue, LaterLineForTheSameIndexWins) {
  Catalogue catalogue;
  catalogue.apply_text("STR12 = First\nSTR12 = Second\nSTR12 = \n");
  EXPECT_EQ(catalogue.get(12), "Second");
}

TEST(Catalogue, SecondLanguageLeavesNothingOfTheFirst) {
  TempDir dir;
  write_text(dir / "Deutsch.lng", "STR11 = Neue Konfiguration\nSTR12 = Konfiguration oeffnen\n");
  write_text(dir / "Italiano.lng", "\xEF\xBB\xBFSTR11 = Nuova configurazione\n");
  Catalogue catalogue;
  std::string language = "Deutsch";
  catalogue.load(dir.path(), language);
  EXPECT_EQ(catalogue.get(12), "Konfiguration oeffnen");
  language = "Italiano";
  catalogue.load(dir.path(), language);
  EXPECT_EQ(language, "Italiano");
  EXPECT_EQ(catalogue.get(11), "Nuova configurazione");
  EXPECT_EQ(catalogue.get(12), "Open Configuration");
}

TEST(Catalogue, MissingLanguageFallsBackToEnglish) {
  TempDir dir;
  Catalogue catalogue;
  std::string language = "Klingon";
  catalogue.load(dir.path(), language);
  EXPECT_EQ(language, "English");
  EXPECT_EQ(catalogue.get(22), "Project not valid");

  write_text(dir / "English.lng", "STR22 = No configuration open\n");
  language = "Klingon";
  catalogue.load(dir.path(), language);
  EXPECT_EQ(language, "English");
  EXPECT_EQ(catalogue.get(22), "No configuration open");
}

TEST(Catalogue, LanguageNameCannotLeaveTheFolder) {
  TempDir dir;
  write_text(dir / "Outside.lng", "STR22 = outside\n");
  Catalogue catalogue;
  std::string language = "../" + dir.path().filename().string() + "/Outside";
  catalogue.load(dir / "LANGUAGE", language);
  EXPECT_EQ(language, "English");
  EXPECT_EQ(catalogue.get(22), "Project not valid");
}

}  // namespace
}  // namespace brenvale
