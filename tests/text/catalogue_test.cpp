#include <set>
#include <string>

#include <gtest/gtest.h>

#include "text/catalogue.h"
#include "text/catalogue_defaults.h"
#include "text/catalogue_file.h"

namespace brenvale {
namespace {

TEST(CatalogueDefaults, StrictlyAscendingAndInRange) {
  int previous = -1;
  for (const text::DefaultText& entry : text::english_defaults()) {
    EXPECT_GT(entry.index, previous);
    EXPECT_LT(entry.index, kCatalogueSize);
    EXPECT_STRNE(entry.text, " ") << entry.index;
    previous = entry.index;
  }
}

TEST(CatalogueDefaults, HoldsTheQuotedTextsExactly) {
  const Catalogue catalogue;
  const std::pair<int, const char*> samples[] = {
      {0, "Begin"},
      {7, "Step 7"},
      {8, "None Configuration Opened "},
      {10, "Opened Configuration of the Converter : "},
      {22, "Project not valid"},
      {29, "Error! Name project is not valid"},
      {31, "Error! Name Project is not valid"},
      {34, "List of Avaliable Configurations"},
      {195, " / "},
      {336, "Step 8"},
      {454, "DP               PGN            SA"},
      {528, "N\xC2\xB0"},
      {539, "Error in row "},
      {1000, "Set Communication"},
      {1178, "SDO Client TimeOut (1/10 millisecons)"},
  };
  for (const auto& [index, text] : samples) EXPECT_EQ(catalogue.get(index), text) << index;
  // Entries nobody quotes hold a single blank.
  EXPECT_EQ(catalogue.get(16), " ");
  EXPECT_EQ(catalogue.get(1399), " ");
}

TEST(Catalogue, RowErrorJoinsWithoutSeparators) {
  const Catalogue catalogue;
  EXPECT_EQ(row_error(catalogue, 515, 2, 517), "Error in row 2!! Dimension must be between 1 and 8");
}

TEST(CatalogueFile, ReadingTheTemplateBackGivesTheSameCatalogue) {
  Catalogue original;
  original.set(12, "  padded  ");
  original.set(13, "");
  const std::string file = catalogue_as_language_file(original);
  EXPECT_NE(file.find("STR0 = \xC2\xB6" "Begin\xC2\xB6\n"), std::string::npos);

  Catalogue copy;
  for (int i = 0; i < kCatalogueSize; ++i) copy.set(i, " ");
  copy.apply_text(file);
  for (int i = 0; i < kCatalogueSize; ++i) EXPECT_EQ(copy.get(i), original.get(i)) << i;
}

}  // namespace
}  // namespace brenvale
