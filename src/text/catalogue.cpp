#include "text/catalogue.h"

#include <fstream>
#include <iterator>

#include "text/catalogue_defaults.h"
#include "text/language_file.h"

namespace brenvale {

Catalogue::Catalogue() { reset_to_defaults(); }

const std::string& Catalogue::get(int index) const { return texts_.at(static_cast<std::size_t>(index)); }

void Catalogue::set(int index, std::string text) { texts_.at(static_cast<std::size_t>(index)) = std::move(text); }

void Catalogue::reset_to_defaults() {
  texts_.fill(" ");
  for (const text::DefaultText& entry : text::english_defaults()) {
    texts_[static_cast<std::size_t>(entry.index)] = entry.text;
  }
}

void Catalogue::load(const std::filesystem::path& language_folder, std::string& language) {
  reset_to_defaults();
  std::error_code ec;
  const std::filesystem::path file = language_folder / (language + ".lng");
  // A name that walks out of the folder is no language of ours.
  const bool plain_name = language.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
  if (plain_name && std::filesystem::is_regular_file(file, ec)) {
    apply_file(file);
    return;
  }
  language = kDefaultLanguage;
  const std::filesystem::path english = language_folder / (std::string(kDefaultLanguage) + ".lng");
  if (std::filesystem::is_regular_file(english, ec)) apply_file(english);
}

void Catalogue::apply_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  apply_text(decode_language_file(bytes));
}

void Catalogue::apply_text(std::string_view text) {
  // Lines end in CR LF, LF or CR.
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (auto entry = parse_language_line(text.substr(start, end - start))) {
      texts_[static_cast<std::size_t>(entry->index)] = std::move(entry->text);
    }
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

std::string row_error(const Catalogue& catalogue, int prefix_index, int row, int text_index) {
  return catalogue.get(prefix_index) + std::to_string(row) + catalogue.get(text_index);
}

}  // namespace brenvale
