#include <string>

#include <gtest/gtest.h>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::run_command;
using testing::TempDir;
using testing::write_text;

const std::string kFixtures = std::string(BRENVALE_FIXTURES) + "/eds";

// The instant of the golden files, 2024-03-07 14:30 UTC, read in UTC.
testing::CommandResult eds(const std::string& arguments) {
  return run_command("SOURCE_DATE_EPOCH=1709821800 TZ=UTC0 " + std::string(BRENVALE_CLI) + " eds " + arguments +
                     " 2>&1");
}

TEST(CliEds, TemplateByTheDeviceVariantOrByOption) {
  struct Case {
    const char* fixture;
    const char* option;
    const char* golden;
  };
  const Case cases[] = {
      {"several", "", "several.with-port.eds"},           // ParGen.xml: with port
      {"empty", "", "empty.without-port.eds"},            // ParGen.xml: without port
      {"many_pdos", "", "many_pdos.with-port.eds"},       // with port, in other letter case
      {"both_tables", "", "both_tables.without-port.eds"},
      {"several", "--template without-port", "several.without-port.eds"},
      {"empty", "--template with-port", "empty.with-port.eds"},
  };
  for (const Case& c : cases) {
    TempDir out;
    const auto result = eds(kFixtures + "/" + c.fixture + " " + (out / "x.eds").string() + " " + c.option);
    EXPECT_EQ(result.exit_code, 0) << result.out;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(read_text(out / "x.eds"), read_text(kFixtures + "/golden/" + c.golden)) << c.fixture << c.option;
  }
}

TEST(CliEds, FixedSourceDateEpochGivesByteIdenticalFiles) {
  TempDir out;
  ASSERT_EQ(eds(kFixtures + "/several " + (out / "a.eds").string() + " --template without-port").exit_code, 0);
  ASSERT_EQ(eds(kFixtures + "/several " + (out / "b.eds").string() + " --template without-port").exit_code, 0);
  const std::string a = read_text(out / "a.eds");
  EXPECT_EQ(a, read_text(out / "b.eds"));
  EXPECT_NE(a.find("CreationTime=02:30PM\r\nCreationDate=03-07-2024\r\n"), std::string::npos);
}

TEST(CliEds, MissingConfigurationFilesGiveTheEmptySheet) {
  TempDir project;
  TempDir out;
  const auto result = eds(project.path().string() + " " + (out / "x.eds").string());
  EXPECT_EQ(result.exit_code, 0) << result.out;
  EXPECT_EQ(read_text(out / "x.eds"), read_text(kFixtures + "/golden/empty.with-port.eds"));
}

TEST(CliEds, FailuresExitOneWithAMessageAndNoFile) {
  TempDir out;
  write_text(out / "kept.eds", "earlier sheet");
  const auto conflict = eds(kFixtures + "/conflict " + (out / "kept.eds").string());
  EXPECT_EQ(conflict.exit_code, 1);
  EXPECT_NE(conflict.out.find("0x2000 sub-index 1"), std::string::npos) << conflict.out;
  EXPECT_EQ(read_text(out / "kept.eds"), "earlier sheet");

  const auto no_folder = eds((out / "missing").string() + " " + (out / "x.eds").string());
  EXPECT_EQ(no_folder.exit_code, 1);
  EXPECT_NE(no_folder.out.find("no such configuration folder"), std::string::npos) << no_folder.out;

  const auto bad_clock = run_command("SOURCE_DATE_EPOCH=soon " + std::string(BRENVALE_CLI) + " eds " + kFixtures +
                                     "/several " + (out / "x.eds").string() + " 2>&1");
  EXPECT_EQ(bad_clock.exit_code, 1);
  EXPECT_NE(bad_clock.out.find("SOURCE_DATE_EPOCH"), std::string::npos) << bad_clock.out;

  const auto unwritable = eds(kFixtures + "/several " + (out / "no" / "such" / "x.eds").string());
  EXPECT_EQ(unwritable.exit_code, 1);
  EXPECT_NE(unwritable.out.find("x.eds"), std::string::npos) << unwritable.out;
  EXPECT_EQ(testing::entry_count(out.path()), 1u);
}

TEST(CliEds, UsageErrorsExitTwo) {
  TempDir out;
  for (const std::string& arguments : {std::string(""), kFixtures + "/several",
                                      kFixtures + "/several " + (out / "x.eds").string() + " --template ethernet",
                                      kFixtures + "/several " + (out / "x.eds").string() + " extra"}) {
    EXPECT_EQ(eds(arguments).exit_code, 2) << arguments;
  }
  EXPECT_EQ(testing::entry_count(out.path()), 0u);
}

}  // namespace
}  // namespace brenvale
