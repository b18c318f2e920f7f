// The English texts of the catalogue. Entries not listed hold a single blank.
#pragma once

#include <span>

namespace brenvale::text {

struct DefaultText {
  int index;
  const char* text;
};

// In strictly ascending index order.
std::span<const DefaultText> english_defaults();

}  // namespace brenvale::text
