// The text catalogue: every text the program shows, by index, filled with the English defaults
// and overlaid with one language file from the LANGUAGE folder.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace brenvale {

inline constexpr int kCatalogueSize = 1400;
inline constexpr const char* kDefaultLanguage = "English";

class Catalogue {
 public:
  Catalogue();  // English defaults

  // The text at `index`; callers pass constant indices below kCatalogueSize.
  const std::string& get(int index) const;
  void set(int index, std::string text);

  // Every entry back to its English default.
  void reset_to_defaults();

  // Rebuilds the catalogue for `language`: defaults, then LANGUAGE/<language>.lng when it exists,
  // else the language becomes "English" and LANGUAGE/English.lng is applied if it exists.
  void load(const std::filesystem::path& language_folder, std::string& language);

  // Applies one language file's lines over the current entries. A file that cannot be read
  // leaves the entries as they are.
  void apply_file(const std::filesystem::path& file);
  // Applies language-file text already decoded to UTF-8.
  void apply_text(std::string_view utf8_text);

 private:
  std::array<std::string, kCatalogueSize> texts_;
};

// The row error of the tables: "Error in row " (at `prefix_index`) + row + the check's text.
std::string row_error(const Catalogue& catalogue, int prefix_index, int row, int text_index);

}  // namespace brenvale
