#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/compile_passes.h"
#include "compiler/layout.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using testing::read_text;
using testing::run_command;
using testing::TempDir;

// 09:41:37 on 28 February 2025, shown in UTC.
const char* const kFixedTime = "SOURCE_DATE_EPOCH=1740735697 TZ=UTC ";

struct Golden {
  const char* name;
  fs::path project;
};

// Whole configurations compiled by the command line under a fixed clock, compared byte for byte
// with the files they must give.
TEST(GoldenConfigurations, CompileToTheExpectedFiles) {
  const fs::path fixtures = fs::path(BRENVALE_FIXTURES) / "compiler";
  const Golden goldens[] = {
      {"truck_demo", fs::path(BRENVALE_FIXTURES) / ".." / ".." / "examples" / "Truck_Demo"},
      {"without_port", fixtures / "without_port" / "project"},
  };
  for (const Golden& golden : goldens) {
    SCOPED_TRACE(golden.name);
    TempDir dir;
    for (const auto& entry : fs::directory_iterator(golden.project)) {
      if (entry.path().extension() == ".xml") fs::copy_file(entry.path(), dir / entry.path().filename().string());
    }
    fs::create_directory(dir / "bin");
    const auto result = run_command(std::string(kFixedTime) + BRENVALE_CLI + " compile " + dir.path().string() + " 2>&1");
    ASSERT_EQ(result.exit_code, 0) << result.out;
    EXPECT_EQ(result.out, "");
    const fs::path expected = fixtures / golden.name / "expected";
    for (const auto& entry : fs::directory_iterator(expected)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(read_text(dir / "bin" / name) == read_text(entry.path())) << name << " differs";
    }
    for (const char* empty : {"bank3.bin", "bank4.bin", "bank5.bin"}) {
      EXPECT_EQ(read_text(dir / "bin" / empty), std::string(16384, '\0')) << empty;
    }
    EXPECT_EQ(testing::entry_count(dir / "bin"), 7u);
  }
}

// One parse shared by both passes gives what each pass gives reading the files on its own.
TEST(GoldenConfigurations, SharedParseEqualsSeparatePasses) {
  const fs::path projects[] = {fs::path(BRENVALE_FIXTURES) / ".." / ".." / "examples" / "Truck_Demo",
                               fs::path(BRENVALE_FIXTURES) / "compiler" / "without_port" / "project"};
  const LocalDateTime when{2025, 2, 28, 9, 41, 37};
  for (const fs::path& project : projects) {
    std::vector<std::uint8_t> bank1(layout::kBankSize), bank2(layout::kBankSize), image(layout::kImageSize);
    ProjectDocuments shared(ConfigFiles{project});
    FormFill bank_fill{}, image_fill{};
    ASSERT_TRUE(run_passes(bank1, bank2, image, shared, when, bank_fill, image_fill).ok());

    std::vector<std::uint8_t> alone1(layout::kBankSize), alone2(layout::kBankSize), alone_image(layout::kImageSize);
    ProjectDocuments for_banks(ConfigFiles{project});
    ASSERT_TRUE(run_bank_pass(alone1, alone2, for_banks, when).ok());
    ProjectDocuments for_image(ConfigFiles{project});
    ASSERT_TRUE(run_image_pass(alone_image, for_image).ok());
    EXPECT_EQ(bank1, alone1) << project;
    EXPECT_EQ(bank2, alone2) << project;
    EXPECT_EQ(image, alone_image) << project;
  }
}

}  // namespace
}  // namespace brenvale
