#include <gtest/gtest.h>

#include "support/run_command.h"
#include "support/temp_dir.h"
#include "text/catalogue.h"

namespace brenvale {
namespace {

using testing::run_command;
using testing::TempDir;
using testing::write_text;

TEST(CliBasics, VersionAndUsage) {
  EXPECT_EQ(run_command(std::string(BRENVALE_CLI) + " --version").out, "2.001\n");
  EXPECT_EQ(run_command(std::string(BRENVALE_CLI) + " --help").exit_code, 0);
  EXPECT_EQ(run_command(std::string(BRENVALE_CLI) + " --no-such-option 2>/dev/null").exit_code, 2);
}

TEST(CliTexts, PrintsALanguageFileThatLoadsBackToTheSameCatalogue) {
  TempDir dir;
  write_text(dir / "LANGUAGE" / "Deutsch.lng", "\xEF\xBB\xBFSTR11 = \xC2\xB6Neue Konfiguration \xC2\xB6\n");
  const auto result = run_command(std::string(BRENVALE_CLI) + " texts --app-dir " + dir.path().string() +
                                  " --language Deutsch");
  ASSERT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("STR11 = \xC2\xB6Neue Konfiguration \xC2\xB6\n"), std::string::npos);
  EXPECT_EQ(result.out.find("STR16 ="), std::string::npos);

  Catalogue expected;
  std::string language = "Deutsch";
  expected.load(dir / "LANGUAGE", language);
  Catalogue loaded;
  for (int i = 0; i < kCatalogueSize; ++i) loaded.set(i, " ");
  loaded.apply_text(result.out);
  for (int i = 0; i < kCatalogueSize; ++i) EXPECT_EQ(loaded.get(i), expected.get(i)) << i;
}

}  // namespace
}  // namespace brenvale
