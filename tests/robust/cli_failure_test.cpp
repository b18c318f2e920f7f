// brenvale-cli under a file size limit (a full disk) and killed at random moments: every output
// file is either as it was before or complete and correct, never partial.
#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "file_tree.h"
#include "support/srecord.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using testing::ChildEnd;
using testing::ChildOptions;
using testing::file_tree;
using testing::FileTree;
using testing::read_text;
using testing::run_child;
using testing::TempDir;
using testing::write_text;

const std::vector<std::string> kFixedClock = {"SOURCE_DATE_EPOCH=1709821800", "TZ=UTC"};

// A command over a configuration folder: how to lay out its input and old outputs, and its
// command line.
struct CliRun {
  const char* name;
  std::function<void(const fs::path& folder)> prepare;
  std::vector<std::string> outputs;  // relative to the folder
  std::function<std::vector<std::string>(const fs::path& folder)> args;
  // The firmware file is removed before the merge starts, so that a failed merge can never leave
  // an old firmware behind to be flashed; for it, "absent" takes the place of "as before".
  bool removes_old_output = false;
};

// A master firmware of some size, so that kills fall at many points of the merge.
std::string master_firmware() {
  std::string text = testing::srec('0', 0, {'T', 'a', 'l'}) + "\r\n";
  text += testing::s2_records(0x380000, 0x3A4000, 32, 3);
  return text + testing::srec('9', 0) + "\r\n";
}

void write_banks(const fs::path& bin) {
  for (const int n : {1, 2}) {
    const auto bytes = testing::pattern(16384, static_cast<std::uint8_t>(n));
    write_text(bin / ("bank" + std::to_string(n) + ".bin"), std::string(bytes.begin(), bytes.end()));
  }
}

std::vector<CliRun> cli_runs() {
  return {
      {"compile",
       [](const fs::path& f) {
         testing::copy_tree(fs::path(BRENVALE_FIXTURES) / "../../examples/Truck_Demo", f / "project");
         for (const char* out : {"bank1.bin", "bank2.bin", "bank3.bin", "bank4.bin", "bank5.bin", "bankg.c", "bank.bin"}) {
           write_text(f / "project" / "bin" / out, std::string("old ") + out);
         }
       },
       {"project/bin/bank1.bin", "project/bin/bank2.bin", "project/bin/bank3.bin", "project/bin/bank4.bin",
        "project/bin/bank5.bin", "project/bin/bankg.c", "project/bin/bank.bin"},
       [](const fs::path& f) {
         return std::vector<std::string>{BRENVALE_CLI, "compile", (f / "project").string()};
       }},
      {"eds",
       [](const fs::path& f) {
         testing::copy_tree(fs::path(BRENVALE_FIXTURES) / "eds/several", f / "project");
         write_text(f / "device.eds", "old sheet\r\n");
       },
       {"device.eds"},
       [](const fs::path& f) {
         return std::vector<std::string>{BRENVALE_CLI, "eds", (f / "project").string(), (f / "device.eds").string()};
       }},
      {"firmware",
       [](const fs::path& f) {
         write_banks(f / "project" / "bin");
         write_text(f / "MASTER" / "SXTalvik.sx", master_firmware());
         write_text(f / "project" / "New_SXTalvik.sx", "old firmware\r\n");
       },
       {"project/New_SXTalvik.sx"},
       [](const fs::path& f) {
         return std::vector<std::string>{BRENVALE_CLI, "firmware", (f / "project").string(),
                                         (f / "MASTER" / "SXTalvik.sx").string()};
       },
       true},
  };
}

// Temporary files of the atomic writer: hidden, with ".tmp-" in the name.
bool is_temporary(const std::string& relative) {
  const std::string name = fs::path(relative).filename().string();
  return name.starts_with(".") && name.find(".tmp-") != std::string::npos;
}

FileTree without_temporaries(FileTree tree) {
  std::erase_if(tree, [](const auto& entry) { return is_temporary(entry.first); });
  return tree;
}

class CliFailure : public ::testing::TestWithParam<CliRun> {
 protected:
  // The outputs of a complete run on a fresh folder.
  FileTree complete_run() {
    TempDir dir;
    GetParam().prepare(dir.path());
    const ChildEnd end = run_child({GetParam().args(dir.path()), kFixedClock});
    EXPECT_EQ(end.exit_code, 0);
    return file_tree(dir.path());
  }
};

TEST_P(CliFailure, FileSizeLimitGivesAnErrorAndChangesNothing) {
  const CliRun& run = GetParam();
  const FileTree complete = complete_run();
  const std::size_t size = complete.at(run.outputs.front()).size();
  for (const rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{size / 2}, rlim_t{size - 1}}) {
    SCOPED_TRACE(limit);
    TempDir dir;
    run.prepare(dir.path());
    const FileTree before = file_tree(dir.path());
    ChildOptions options{run.args(dir.path()), kFixedClock, limit};
    options.capture_stderr = true;
    const ChildEnd end = run_child(options);
    const std::string& message = end.err;
    EXPECT_FALSE(end.killed) << "signal " << end.signal;
    EXPECT_EQ(end.exit_code, 1);
    EXPECT_NE(message.find(fs::path(run.outputs.front()).filename().string()), std::string::npos) << message;
    FileTree expected = before;
    if (run.removes_old_output) {
      for (const std::string& out : run.outputs) expected.erase(out);
    }
    EXPECT_EQ(file_tree(dir.path()), expected);
  }
}

TEST_P(CliFailure, KilledAtAnyMomentLeavesOldOrCompleteFiles) {
  const CliRun& run = GetParam();
  const FileTree complete = complete_run();
  TempDir first;
  run.prepare(first.path());
  const FileTree old_tree = file_tree(first.path());

  // How long the command itself runs here (not the preparing of its folder); the kills fall
  // within a little more than that. The quickest of three, as one slow run on a busy machine
  // would put most kills after the end.
  microseconds duration = microseconds::max();
  for (int i = 0; i < 3; ++i) {
    TempDir dir;
    run.prepare(dir.path());
    const auto started = steady_clock::now();
    run_child({run.args(dir.path()), kFixedClock});
    duration = std::min(duration, duration_cast<microseconds>(steady_clock::now() - started));
  }

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> moment(0, duration.count() * 5 / 4);
  int killed_runs = 0;
  for (int i = 0; i < 24; ++i) {
    TempDir dir;
    run.prepare(dir.path());
    ChildOptions options{run.args(dir.path()), kFixedClock};
    options.kill_after = microseconds(moment(random));
    const ChildEnd end = run_child(options);
    if (end.killed) ++killed_runs;
    const FileTree after = without_temporaries(file_tree(dir.path()));
    for (const auto& [name, bytes] : after) {
      SCOPED_TRACE(name);
      const auto was = old_tree.find(name);
      const bool as_before = was != old_tree.end() && was->second == bytes;
      const bool as_complete = complete.count(name) != 0 && complete.at(name) == bytes;
      EXPECT_TRUE(as_before || as_complete) << "partial after a kill at " << options.kill_after->count() << " us";
    }
    if (!run.removes_old_output) {
      for (const std::string& out : run.outputs) EXPECT_EQ(after.count(out), 1u) << out << " vanished";
    }
  }
  // Most moments fall inside the run; otherwise the test would not test much.
  EXPECT_GT(killed_runs, 6);
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, CliFailure, ::testing::ValuesIn(cli_runs()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brenvale
