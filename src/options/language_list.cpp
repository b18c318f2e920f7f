#include "options/language_list.h"

#include <algorithm>

namespace brenvale {

namespace {

namespace fs = std::filesystem;

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool less_ignoring_case(const std::string& a, const std::string& b) {
  const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                 [](char x, char y) { return lower_ascii(x) < lower_ascii(y); });
  const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                    [](char x, char y) { return lower_ascii(x) < lower_ascii(y); });
  // Names equal but for letter case keep one fixed order.
  return less || (!greater && a < b);
}

bool ends_with(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A language file the options window offers: a plain, writable file, not a link. A file that
// is not writable is how read-only files show on this platform.
bool is_offered_file(const fs::directory_entry& entry) {
  std::error_code ec;
  if (entry.is_symlink(ec) || !entry.is_regular_file(ec)) return false;
  const fs::perms perms = entry.status(ec).permissions();
  if (ec) return false;
  return (perms & fs::perms::owner_write) != fs::perms::none;
}

}  // namespace

std::vector<std::string> list_language_files(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return names;
  for (const fs::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    // The name must keep something in front of the extension to name a language.
    if (name.size() <= 4 || !ends_with(name, kLanguageExtension)) continue;
    if (is_offered_file(entry)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), less_ignoring_case);
  return names;
}

std::string language_of_file(const std::string& file_name) {
  return file_name.size() >= 4 ? file_name.substr(0, file_name.size() - 4) : std::string();
}

int language_page_count(std::size_t entries) {
  return static_cast<int>((entries + kLanguagesPerPage - 1) / kLanguagesPerPage);
}

LanguagePage language_page(std::size_t entries, int page) {
  LanguagePage drawn;
  drawn.page = page;
  drawn.page_count = language_page_count(entries);
  drawn.prev_visible = page != 1;
  drawn.next_visible = page != drawn.page_count;
  for (int k = 0; k < kLanguagesPerPage; ++k) {
    const long entry = static_cast<long>(kLanguagesPerPage) * (page - 1) + k;
    if (entry >= 0 && static_cast<std::size_t>(entry) < entries) drawn.slot_entries[static_cast<std::size_t>(k)] = entry;
  }
  return drawn;
}

int previous_language_page(int page) { return page - 1 >= 1 ? page - 1 : page; }

int next_language_page(int page, std::size_t entries) {
  return language_page_count(entries) >= page + 1 ? page + 1 : page;
}

std::string language_page_line(const Catalogue& catalogue, int page, int page_count) {
  return catalogue.get(194) + std::to_string(page) + catalogue.get(195) + std::to_string(page_count);
}

std::string selected_language_line(const Catalogue& catalogue, const std::string& language) {
  return catalogue.get(193) + language;
}

std::string language_question(const Catalogue& catalogue, const std::string& from, const std::string& to) {
  return catalogue.get(205) + from + catalogue.get(206) + to + catalogue.get(207);
}

std::optional<fs::path> flag_picture(const fs::path& folder, const std::string& language) {
  std::error_code ec;
  const fs::path own = folder / (language + ".bmp");
  if (fs::is_regular_file(own, ec)) return own;
  const fs::path fallback = folder / kDefaultFlag;
  if (fs::is_regular_file(fallback, ec)) return fallback;
  return std::nullopt;
}

InternetChecks internet_checks(bool enable_internet_ticked, bool enable_update_ticked) {
  InternetChecks checks;
  checks.update_enabled = enable_internet_ticked;
  checks.check_button_enabled = checks.update_enabled && enable_update_ticked;
  return checks;
}

}  // namespace brenvale
