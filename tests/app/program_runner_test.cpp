#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <thread>

#include "app/program_runner.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

std::filesystem::path script(const TempDir& dir, const std::string& name, const std::string& body) {
  const std::filesystem::path path = dir / name;
  write_text(path, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(ProgramRunner, AProgramThatEndsAtOnceIsNotWaitedForUpToTheLimit) {
  TempDir dir;
  // Exit code 259 wraps to 3 on Linux; either way the end is seen, not taken for "still running".
  const auto program = script(dir, "Ethernet_Update.exe", "exit 259");
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run = start_program_and_wait(program, {}, ShowState::kNormal, std::chrono::seconds(60));
  EXPECT_EQ(run.end, ProgramEnd::kEnded);
  EXPECT_LT(seconds_since(start), 10.0);
}

TEST(ProgramRunner, ArgumentsArriveAsGivenWithoutAShell) {
  TempDir dir;
  const auto program = script(dir, "echo-args", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$0.out\"");
  const std::vector<std::string> args = {"/tmp/a b/New_SXTalvik.sx", "$HOME", "x;rm -rf y", "", "2"};
  ASSERT_EQ(start_program_and_wait(program, args, ShowState::kHidden).end, ProgramEnd::kEnded);
  EXPECT_EQ(read_text(dir / "echo-args.out"), "[/tmp/a b/New_SXTalvik.sx]\n[$HOME]\n[x;rm -rf y]\n[]\n[2]\n");
}

TEST(ProgramRunner, AProgramThatCannotStartReturnsAtOnce) {
  TempDir dir;
  write_text(dir / "not-executable", "#!/bin/sh\nexit 0\n");
  for (const std::filesystem::path& path : {dir / "missing.exe", dir / "not-executable", dir.path()}) {
    const ProgramRun run = start_program_and_wait(path, {}, ShowState::kNormal, std::chrono::seconds(60));
    EXPECT_EQ(run.end, ProgramEnd::kNotStarted) << path;
    EXPECT_FALSE(start_program(path, {})) << path;
  }
}

TEST(ProgramRunner, AProgramThatOutlivesTheLimitIsLeftRunning) {
  TempDir dir;
  const auto program = script(dir, "slow", "exec sleep 30");
  const ProgramRun run = start_program_and_wait(program, {}, ShowState::kNormal, std::chrono::milliseconds(100));
  ASSERT_EQ(run.end, ProgramEnd::kTimedOut);
  EXPECT_EQ(::kill(run.pid, 0), 0) << "the program was stopped at the limit";
  ::kill(run.pid, SIGTERM);
}

TEST(ProgramRunner, StartWithoutWaitingReturnsWhileTheProgramRuns) {
  TempDir dir;
  const auto program = script(dir, "FlashWrite.exe", "sleep 1; echo \"$1|$2\" > \"$0.out\"");
  ASSERT_TRUE(start_program(program, {"out path", "2"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "FlashWrite.exe.out"));
  for (int i = 0; i < 500 && read_text(dir / "FlashWrite.exe.out").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(read_text(dir / "FlashWrite.exe.out"), "out path|2\n");
}

TEST(ParameterText, SplitsAsAShellWould) {
  struct Case {
    const char* text;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"\"C:\\Brenvale\\PROJECTS\\a b\\New_SXTalvik.sx\" 2", {"C:\\Brenvale\\PROJECTS\\a b\\New_SXTalvik.sx", "2"}},
      {"\"/p/New_SXTalvik.sx\" 0", {"/p/New_SXTalvik.sx", "0"}},
      {"a  b\tc", {"a", "b", "c"}},
      {"'it''s' \"\"", {"its", ""}},
      {"\"say \\\"hi\\\" \\$x\"", {"say \"hi\" $x"}},
      {"a\\ b", {"a b"}},
      {"x\"y z\"w", {"xy zw"}},
      {"\"open", {"open"}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_parameters(c.text), c.words) << c.text;
}

TEST(ParameterText, QuotedArgumentsComeBackUnchanged) {
  for (const std::string arg : {"/p/a b/New_SXTalvik.sx", "q\"uo\\te$`x'", "", "C:\\x\\"}) {
    EXPECT_EQ(split_parameters(quote_parameter(arg) + " 7"), (std::vector<std::string>{arg, "7"})) << arg;
  }
}

}  // namespace
}  // namespace brenvale
