#include "text/catalogue_file.h"

namespace brenvale {

std::string catalogue_as_language_file(const Catalogue& catalogue) {
  std::string out;
  for (int i = 0; i < kCatalogueSize; ++i) {
    const std::string& text = catalogue.get(i);
    if (text == " ") continue;
    // The marks keep leading and trailing blanks when the file is read back.
    out += "STR" + std::to_string(i) + " = \xC2\xB6" + text + "\xC2\xB6\n";
  }
  return out;
}

}  // namespace brenvale
