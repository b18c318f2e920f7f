#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "support/run_command.h"
#include "support/srecord.h"
#include "support/temp_dir.h"

extern char** environ;

namespace brenvale {
namespace {

using testing::read_text;
using testing::run_command;
using testing::s2_records;
using testing::srec;
using testing::TempDir;
using testing::write_text;

std::string cli() { return BRENVALE_CLI; }

void write_banks(const TempDir& dir) {
  const auto b1 = testing::pattern(16384, 1);
  const auto b2 = testing::pattern(16384, 2);
  write_text(dir / "Line4" / "bin" / "bank1.bin", std::string(b1.begin(), b1.end()));
  write_text(dir / "Line4" / "bin" / "bank2.bin", std::string(b2.begin(), b2.end()));
}

const std::string kGoodMaster =
    s2_records(0x380000, 0x3A0000, 32, 3) + srec('1', 0x100, {1}) + "\r\n" + srec('9', 0) + "\r\n";

TEST(CliFirmware, MergesBothBanksIntoNewMaster) {
  TempDir dir;
  write_banks(dir);
  write_text(dir / "MASTER" / "Custom.sx", kGoodMaster);
  const auto result = run_command(cli() + " firmware " + (dir / "Line4").string() + " " +
                                  (dir / "MASTER" / "Custom.sx").string() + " 2>&1");
  ASSERT_EQ(result.exit_code, 0) << result.out;
  const std::string output = (dir / "Line4" / "New_Custom.sx").string();
  EXPECT_EQ(result.out, output + "\n");
  const std::string expected = (dir / "expected.sx").string();
  ASSERT_EQ(run_command("srec_cat " + (dir / "MASTER" / "Custom.sx").string() +
                        " -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000 " +
                        (dir / "Line4" / "bin" / "bank1.bin").string() + " -Binary -offset 0x388000 " +
                        (dir / "Line4" / "bin" / "bank2.bin").string() + " -Binary -offset 0x398000 -o " + expected)
                .exit_code,
            0);
  const auto cmp = run_command("srec_cmp " + expected + " " + output + " 2>&1");
  EXPECT_EQ(cmp.exit_code, 0) << cmp.out;
}

TEST(CliFirmware, ExitCodesAndMessages) {
  struct Case {
    const char* name;
    std::string master;  // empty: no master file
    bool banks;
    std::string args;    // after "firmware"; DIR stands for the test folder
    int exit_code;
    std::string message_part;
  };
  const Case cases[] = {
      {"no arguments", kGoodMaster, true, "", 2, "PROJECT_DIR is required"},
      {"one argument", kGoodMaster, true, "DIR/Line4", 2, "MASTER_SX is required"},
      {"three arguments", kGoodMaster, true, "DIR/Line4 DIR/SXTalvik.sx extra", 2, "extra"},
      {"no master", "", true, "DIR/Line4 DIR/SXTalvik.sx", 1, "File *.Sx Not Found,Abort Procedure\nDIR/SXTalvik.sx"},
      {"no banks", kGoodMaster, false, "DIR/Line4 DIR/SXTalvik.sx", 1, "Directory Bin Not Found,Abort Procedure"},
      {"bad line", "S1\r\nS2" + std::string(20, 'G') + "\r\n" + kGoodMaster, true, "DIR/Line4 DIR/SXTalvik.sx", 1,
       "DIR/SXTalvik.sx: line 1: the record is too short to hold its address"},
      {"range not in master", s2_records(0x388000, 0x38C000, 32, 1) + srec('9', 0) + "\r\n", true,
       "DIR/Line4 DIR/SXTalvik.sx", 1, "Bank 2 (0x398000-0x39BFFF) Not Found in DIR/SXTalvik.sx,Abort Procedure"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Line4");
    if (c.banks) write_banks(dir);
    if (!c.master.empty()) write_text(dir / "SXTalvik.sx", c.master);
    write_text(dir / "Line4" / "New_SXTalvik.sx", "old");
    std::string args = c.args;
    for (std::size_t at; (at = args.find("DIR")) != std::string::npos;) args.replace(at, 3, dir.path().string());
    const auto result = run_command(cli() + " firmware " + args + " 2>&1");
    std::string out = result.out;
    for (std::size_t at; (at = out.find(dir.path().string())) != std::string::npos;) {
      out.replace(at, dir.path().string().size(), "DIR");
    }
    EXPECT_EQ(result.exit_code, c.exit_code) << c.name << ": " << out;
    EXPECT_NE(out.find(c.message_part), std::string::npos) << c.name << ": " << out;
    if (c.exit_code == 1) {
      EXPECT_FALSE(std::filesystem::exists(dir / "Line4" / "New_SXTalvik.sx")) << c.name;
    }
  }
}

TEST(CliFirmware, AKilledMergeLeavesNoPartialOutput) {
  TempDir dir;
  write_banks(dir);
  // About 5 MB of records, so that the merge is likely still running when it is killed.
  write_text(dir / "SXTalvik.sx", s2_records(0x200000, 0x400000, 32, 9) + srec('9', 0) + "\r\n");
  const std::string output = (dir / "Line4" / "New_SXTalvik.sx").string();
  const std::string cli_path = cli();
  const std::string project = (dir / "Line4").string();
  const std::string master = (dir / "SXTalvik.sx").string();
  for (int delay_ms : {5, 40, 150}) {
    std::vector<char*> argv = {const_cast<char*>(cli_path.c_str()), const_cast<char*>("firmware"),
                               const_cast<char*>(project.c_str()), const_cast<char*>(master.c_str()), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, cli_path.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    // Either the merge finished before the kill, and the output is whole, or there is none.
    if (std::filesystem::exists(output)) {
      const std::string text = read_text(output);
      const std::string end = srec('9', 0) + "\r\n";
      ASSERT_GE(text.size(), end.size());
      EXPECT_EQ(text.substr(text.size() - end.size()), end) << delay_ms;
      std::filesystem::remove(output);
    }
  }
  // The next merge clears away what the killed ones left and finishes.
  const auto result = run_command(cli_path + " firmware " + project + " " + master + " > /dev/null");
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(testing::entry_count(dir / "Line4"), 2u);
}

}  // namespace
}  // namespace brenvale
