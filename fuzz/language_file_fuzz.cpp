// A language file from the LANGUAGE folder: any bytes decode, every line either sets an entry
// of the catalogue or is ignored, and applying the file never touches anything outside it.
#include "fuzz_support.h"
#include "text/catalogue.h"
#include "text/language_file.h"

using namespace brenvale;

namespace {

bool valid_utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    if (c < 0x80) extra = 0;
    else if ((c >> 5) == 0x6) extra = 1;
    else if ((c >> 4) == 0xE) extra = 2;
    else if ((c >> 3) == 0x1E) extra = 3;
    else return false;
    if (s.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const std::string text = decode_language_file(bytes);
  // Windows-1252 and UTF-16 are re-encoded by us, so the result is proper UTF-8; a UTF-8 file
  // is taken as it stands.
  if (!bytes.starts_with("\xEF\xBB\xBF")) fuzz::require(valid_utf8(text), "decoded text is UTF-8");

  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (auto line = parse_language_line(std::string_view(text).substr(start, end - start))) {
      fuzz::require(line->index >= 0 && line->index < kCatalogueSize, "entry index inside the catalogue");
    }
    start = end + 1;
  }

  Catalogue catalogue;
  catalogue.apply_text(text);
  // Applying the same file twice gives the same catalogue.
  Catalogue again = catalogue;
  again.apply_text(text);
  for (int i = 0; i < kCatalogueSize; ++i) fuzz::require(again.get(i) == catalogue.get(i), "applying is idempotent");
  return 0;
}
