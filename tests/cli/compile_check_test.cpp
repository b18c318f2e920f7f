#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using testing::read_text;
using testing::run_command;
using testing::TempDir;
using testing::write_text;

std::string cli(const std::string& arguments) { return std::string(BRENVALE_CLI) + " " + arguments; }

// Runs the CLI with stdout and stderr kept apart.
struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};
CliRun run(const TempDir& scratch, const std::string& arguments) {
  const fs::path err = scratch / "stderr.txt";
  const auto result = run_command(cli(arguments) + " 2>" + err.string());
  return {result.exit_code, result.out, read_text(err)};
}

TEST(CliCompile, ExitCodesAndMessages) {
  TempDir scratch;
  TempDir project;
  fs::create_directory(project / "bin");
  write_text(project / "TCobDef.xml", "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"65280\" ID_DEV=\"128\" NumByte=\"8\" OnRequest=\"N\" "
                                      "DataChange=\"N\" OnTimer=\"Y\" OnTimer_Time=\"100\" Mnemonic=\"\"/></COBID>");
  CliRun ok = run(scratch, "compile " + project.path().string());
  EXPECT_EQ(ok.exit_code, 0) << ok.err;
  EXPECT_EQ(ok.err, "");
  EXPECT_EQ(testing::entry_count(project / "bin"), 7u);

  // A receive PDO without its J1939 frame: exit 1, the reason on stderr, no file replaced.
  TempDir failing;
  fs::create_directory(failing / "bin");
  write_text(failing / "pdoJ1939.xml", "<Define_RPDO><row COB-ID=\"0x201\" Dimension=\"2\" Offset=\"1\" Mnemonic=\"\"/></Define_RPDO>");
  CliRun refused = run(scratch, "compile " + failing.path().string());
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.err.find("pdoJ1939.xml: row 1 has no attribute Frame_J1939"), std::string::npos) << refused.err;
  EXPECT_EQ(testing::entry_count(failing / "bin"), 0u);

  TempDir no_bin;
  CliRun missing_bin = run(scratch, "compile " + no_bin.path().string());
  EXPECT_EQ(missing_bin.exit_code, 1);
  EXPECT_NE(missing_bin.err.find("does not exist"), std::string::npos);
  EXPECT_FALSE(fs::exists(no_bin / "bin"));

  EXPECT_EQ(run(scratch, "compile " + (project / "no-such-folder").string()).exit_code, 1);
  EXPECT_EQ(run(scratch, "compile").exit_code, 2);
  EXPECT_EQ(run(scratch, "compile a b").exit_code, 2);
  EXPECT_EQ(run(scratch, "compile --no-such-option " + project.path().string()).exit_code, 2);
}

TEST(CliCompile, AFileThatCannotBeWrittenFailsTheCompile) {
  TempDir scratch;
  TempDir project;
  fs::create_directories(project / "bin" / "bank2.bin");  // a folder where a file must go
  CliRun result = run(scratch, "compile " + project.path().string());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find((project / "bin" / "bank2.bin").string()), std::string::npos) << result.err;
}

TEST(CliCompile, SourceDateEpochStampsBankOne) {
  TempDir scratch;
  TempDir project;
  fs::create_directory(project / "bin");
  const auto result = run_command("SOURCE_DATE_EPOCH=1740735697 TZ=UTC " + cli("compile " + project.path().string()));
  ASSERT_EQ(result.exit_code, 0);
  const std::string bank1 = read_text(project / "bin" / "bank1.bin");
  EXPECT_EQ(bank1.substr(16020, 4), std::string("\x19\xE1\x29\x95", 4));
  // Another zone shows the same instant at another local hour: 10:41:37 gives time word 0x952A.
  ASSERT_EQ(run_command("SOURCE_DATE_EPOCH=1740735697 TZ=CET-1 " + cli("compile " + project.path().string())).exit_code, 0);
  EXPECT_EQ(read_text(project / "bin" / "bank1.bin").substr(16022, 2), std::string("\x2A\x95", 2));

  const auto refused = run_command("SOURCE_DATE_EPOCH=soon " + cli("compile " + project.path().string()) + " 2>&1");
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.out.find("SOURCE_DATE_EPOCH"), std::string::npos);
}

TEST(CliCheck, ListsReferencesToMissingFrames) {
  TempDir scratch;
  TempDir project;
  CliRun clean = run(scratch, "check " + project.path().string());
  EXPECT_EQ(clean.exit_code, 0);
  EXPECT_EQ(clean.out, "");

  write_text(project / "RCobDef.xml", "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" MultiFrame=\"N\" StartByte=\"\" NByte=\"\" "
                                      "Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"\"/></COBID>");
  write_text(project / "TpdoJ1939.xml", "<PDOJ1939><row COB-ID=\"0x181\" Dimension=\"2\" Offset=\"1\" Frame_J1939=\"1\" Mnemonic=\"\"/>"
                                        "<row COB-ID=\"0x182\" Dimension=\"2\" Offset=\"1\" Frame_J1939=\"2\" Mnemonic=\"\"/></PDOJ1939>");
  write_text(project / "TInfoCob.xml", "<DefineSDOServerTraJ1939><row NrPdo=\"1\" Index=\"0x2000\" SubIndex=\"0\" Dimension=\"0\" "
                                       "B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\" Send_SDO=\"0\"/></DefineSDOServerTraJ1939>");
  CliRun dangling = run(scratch, "check " + project.path().string());
  EXPECT_EQ(dangling.exit_code, 1);
  EXPECT_EQ(dangling.out,
            "TpdoJ1939.xml: row 2: frame 2 does not exist\n"
            "TInfoCob.xml: row 1: frame 1 does not exist\n");

  write_text(project / "RCobDef.xml", "<COBID><row");
  CliRun broken = run(scratch, "check " + project.path().string());
  EXPECT_EQ(broken.exit_code, 1);
  EXPECT_EQ(broken.out.rfind("RCobDef.xml: line 1, column", 0), 0u) << broken.out;

  EXPECT_EQ(run(scratch, "check").exit_code, 2);
  EXPECT_EQ(run(scratch, "check " + (project / "none").string()).exit_code, 1);
}

TEST(CliCheck, RunsEveryWindowsChecksInStepOrder) {
  TempDir scratch;
  TempDir project;
  // Without Ethernet port: the TPDO trigger columns are hidden, so their bad timer passes.
  write_text(project / "ParGen.xml",
             "<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device><TimeOut_Data>300</TimeOut_Data>"
             "<IDDev_CANopen>1</IDDev_CANopen></Par_Gen>");
  write_text(project / "RCobDef.xml", "<COBID><row PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/>"
                                      "<row PGN=\"70000\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/></COBID>");
  write_text(project / "TpdoJ1939.xml", "<PDOJ1939><row COB-ID=\"0x181\" Dimension=\"9\" Offset=\"1\" Frame_J1939=\"1\" "
                                        "OnTimer=\"Y\" SendTimer=\"0\" Mnemonic=\"\"/></PDOJ1939>");
  write_text(project / "TCobDef.xml", "<COBID><row Priority=\"8\" DP=\"0\" PGN=\"1\" ID_DEV=\"0\" Mnemonic=\"\"/></COBID>");
  write_text(project / "SDOClient.xml", "<J1939_Frames_SDOClient><row Priority=\"0\" DataPage=\"0\" PGN=\"1\" SA=\"254\" "
                                        "Mnemonic=\"\"/></J1939_Frames_SDOClient>");
  write_text(project / "NodeGuard.xml", "<Node_Guarding><row NodeID=\"128\" GuardTime=\"1\" LifeTimeFactor=\"1\" "
                                        "Mnemonic=\"\"/></Node_Guarding>");
  CliRun result = run(scratch, "check " + project.path().string());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out,
            "ParGen.xml: Error J1939!! TimeOut Data must between 0 and 255 seconds\n"
            "RCobDef.xml: Error in row 2!! PGN must be between 0x00000 and 0xFFFF\n"
            "TpdoJ1939.xml: Error in row 1!! Dimension must be between 1 and 8\n"
            "TCobDef.xml: Error in row 1!! Priority must be between 0 and 7\n"
            "SDOClient.xml: Error in Request SDO Read!! Source Address must be between 0 and 253\n"
            "NodeGuard.xml: Error in row 1!! Node ID must be between 1 and 127\n");
}

TEST(CliCheck, ReportsATableFileThatCannotBeOpened) {
  TempDir scratch;
  TempDir project;
  write_text(project / "RCobDef.xml", "<COBID><row PGN=\"1\" ID_DEV=\"0\" Mnemonic=\"\"/></COBID>");
  CliRun result = run(scratch, "check " + project.path().string());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.out.find("RCobDef.xml: row 1 has no attribute Delete"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace brenvale
