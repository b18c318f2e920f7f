// The language choice of the options window: the language files found in LANGUAGE, shown six
// to a page with a flag picture each, and the question asked before switching.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "text/catalogue.h"

namespace brenvale {

inline constexpr int kLanguagesPerPage = 6;
inline constexpr const char* kLanguageExtension = ".lng";
inline constexpr const char* kDefaultFlag = "DefaultFlag.bmp";

// The names (with extension) of the "*.lng" plain files in `folder`, sorted without regard to
// letter case. Directories, links and read-only files are left out; a missing folder gives
// an empty list.
std::vector<std::string> list_language_files(const std::filesystem::path& folder);

// The language a file name stands for: the name without its extension ".lng".
std::string language_of_file(const std::string& file_name);

// (entries + 5) / 6; zero entries give zero pages.
int language_page_count(std::size_t entries);

// One drawn page, counted from 1.
struct LanguagePage {
  int page = 1;
  int page_count = 0;
  bool prev_visible = false;
  bool next_visible = false;
  // Slot k (0..5) shows entry 6 * (page - 1) + k of the list, or nothing past its end.
  std::array<std::optional<std::size_t>, kLanguagesPerPage> slot_entries{};
};

LanguagePage language_page(std::size_t entries, int page);

// The page that Previous or Next leads to; it stays when there is none in that direction.
int previous_language_page(int page);
int next_language_page(int page, std::size_t entries);

// "Page " p " / " count, in the catalogue's language.
std::string language_page_line(const Catalogue& catalogue, int page, int page_count);
// "Selected Language : " followed by the language.
std::string selected_language_line(const Catalogue& catalogue, const std::string& language);
// "Do you want to change the Language from " old " to " new "?", joined without separators.
std::string language_question(const Catalogue& catalogue, const std::string& from, const std::string& to);

// The flag picture of a language: LANGUAGE/<language>.bmp, else LANGUAGE/DefaultFlag.bmp,
// else nothing.
std::optional<std::filesystem::path> flag_picture(const std::filesystem::path& folder, const std::string& language);

// The two internet check boxes: the update box can be changed only while the connection is
// allowed, and the manual check only while the update box is enabled and ticked. A tick in a
// disabled box stays as it is.
struct InternetChecks {
  bool update_enabled = false;
  bool check_button_enabled = false;
};
InternetChecks internet_checks(bool enable_internet_ticked, bool enable_update_ticked);

}  // namespace brenvale
