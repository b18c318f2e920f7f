// The translations shipped in languages/ are copied into LANGUAGE of the run folder. Each must
// give every text that has an English default, in lines the reader takes as they are meant.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "options/language_list.h"
#include "support/temp_dir.h"
#include "text/catalogue.h"
#include "text/catalogue_defaults.h"
#include "text/language_file.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = BRENVALE_LANGUAGES;

std::string_view trim_line(std::string_view line) {
  while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ') line.remove_prefix(1);
  while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') line.remove_suffix(1);
  return line;
}

// The entries of a file by index, with a failure for every "STR" line the reader would skip.
std::map<int, std::string> read_entries(const fs::path& file) {
  const std::string bytes = testing::read_text(file);
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << file << " starts without the UTF-8 byte-order mark";
  const std::string text = decode_language_file(bytes);
  std::map<int, std::string> entries;
  std::size_t start = 0;
  int line_number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_number;
    if (trim_line(line).starts_with("STR")) {
      const auto entry = parse_language_line(line);
      if (entry) {
        EXPECT_FALSE(entries.contains(entry->index)) << file << ':' << line_number << " repeats STR" << entry->index;
        entries[entry->index] = entry->text;
      } else {
        ADD_FAILURE() << file << ':' << line_number << " is skipped by the reader: " << line;
      }
    }
    start = end + 1;
  }
  return entries;
}

TEST(ShippedLanguages, TheFourTranslationsAndEnglishAreThere) {
  const std::vector<std::string> files = list_language_files(kShipped);
  for (const char* name : {"Deutsch.lng", "English.lng", "Español.lng", "Français.lng", "Italiano.lng"}) {
    EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
  }
}

TEST(ShippedLanguages, EachFileGivesEveryDefaultTextAndNoOther) {
  std::set<int> defaults;
  for (const text::DefaultText& entry : text::english_defaults()) defaults.insert(entry.index);

  const std::vector<std::string> files = list_language_files(kShipped);
  ASSERT_FALSE(files.empty());
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    const std::map<int, std::string> entries = read_entries(kShipped / name);
    std::set<int> named;
    for (const auto& [index, text] : entries) named.insert(index);
    for (int index : defaults) EXPECT_TRUE(named.contains(index)) << "STR" << index << " is missing";
    for (int index : named) EXPECT_TRUE(defaults.contains(index)) << "STR" << index << " has no English default";
  }
}

// Texts that are joined with a name or a number keep the blank at the joint.
TEST(ShippedLanguages, BlanksAtTheJointsAreKept) {
  for (const std::string& name : list_language_files(kShipped)) {
    SCOPED_TRACE(name);
    const std::map<int, std::string> entries = read_entries(kShipped / name);
    for (const text::DefaultText& entry : text::english_defaults()) {
      const std::string_view english = entry.text;
      const auto it = entries.find(entry.index);
      if (it == entries.end() || english.empty()) continue;
      const std::string& translated = it->second;
      ASSERT_FALSE(translated.empty()) << "STR" << entry.index;
      if (english.back() == ' ') {
        EXPECT_EQ(translated.back(), ' ') << "STR" << entry.index << " lost its end blank";
      }
      if (english.front() == ' ') {
        EXPECT_EQ(translated.front(), ' ') << "STR" << entry.index << " lost its first blank";
      }
    }
  }
}

TEST(ShippedLanguages, LoadingATranslationReplacesTheEnglishTexts) {
  const struct {
    const char* language;
    int index;
    const char* text;
  } cases[] = {
      {"Deutsch", 22, "Projekt nicht gültig"},
      {"Italiano", 204, "Nessun aggiornamento disponibile"},
      {"Français", 193, "Langue choisie : "},
      {"Español", 28, "Cancelar"},
      {"English", 205, "Do you want to change the Language from "},
  };
  for (const auto& c : cases) {
    Catalogue catalogue;
    std::string language = c.language;
    catalogue.load(kShipped, language);
    EXPECT_EQ(language, c.language);
    EXPECT_EQ(catalogue.get(c.index), c.text) << c.language;
  }
}

TEST(ShippedLanguages, EachLanguageHasItsFlagAndThereIsADefaultFlag) {
  EXPECT_TRUE(fs::is_regular_file(kShipped / kDefaultFlag));
  for (const std::string& name : list_language_files(kShipped)) {
    const fs::path flag = kShipped / (language_of_file(name) + ".bmp");
    ASSERT_TRUE(fs::is_regular_file(flag)) << flag;
    EXPECT_EQ(testing::read_text(flag).rfind("BM", 0), 0u) << flag;
  }
}

}  // namespace
}  // namespace brenvale
