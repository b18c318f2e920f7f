// The catalogue written in the language-file format: the template that translators start from.
#pragma once

#include <string>

#include "text/catalogue.h"

namespace brenvale {

// One line "STR<n> = ¶<text>¶" for each entry that is not the single blank, in index order.
std::string catalogue_as_language_file(const Catalogue& catalogue);

}  // namespace brenvale
