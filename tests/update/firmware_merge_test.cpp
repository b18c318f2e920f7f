#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/run_command.h"
#include "support/srecord.h"
#include "support/temp_dir.h"
#include "update/firmware_merge.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::run_command;
using testing::s2_records;
using testing::srec;
using testing::TempDir;
using testing::write_text;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t eol = text.find("\r\n", start);
    if (eol == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, eol - start));
    start = eol + 2;
  }
  return lines;
}

class FirmwareMergeTest : public ::testing::Test {
 public:
  void SetUp() override {
    bank1 = testing::pattern(kBankBytes, 1);
    bank2 = testing::pattern(kBankBytes, 100);
    write_bank(1, bank1);
    write_bank(2, bank2);
  }
  void write_bank(int n, const std::vector<std::uint8_t>& data) {
    write_text(dir / "PROJECTS" / "Line4" / "bin" / ("bank" + std::to_string(n) + ".bin"),
               std::string(data.begin(), data.end()));
  }
  FirmwareJob job() const {
    FirmwareJob j;
    j.master = dir / "MASTER" / "SXTalvik.sx";
    j.output = dir / "PROJECTS" / "Line4" / "New_SXTalvik.sx";
    j.bin_folder = dir / "PROJECTS" / "Line4" / "bin";
    return j;
  }
  std::string bank_lines(int n) const {
    const auto& data = n == 1 ? bank1 : bank2;
    std::string text;
    for (std::size_t r = 0; r < kBankRecordCount; ++r) {
      text += bank_record(kFirmwareBanks[static_cast<std::size_t>(n - 1)].first + static_cast<std::uint32_t>(r * 32),
                          data.data() + r * 32) +
              "\r\n";
    }
    return text;
  }
  // Checks the output with an independent S-record reader against the same merge done by srec_cat.
  void expect_same_as_srec_cat(const FirmwareJob& j) {
    const std::string expected = (dir / "expected.sx").string();
    const std::string command =
        "srec_cat " + j.master.string() + " -Motorola -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000 " +
        (j.bin_folder / "bank1.bin").string() + " -Binary -offset 0x388000 " + (j.bin_folder / "bank2.bin").string() +
        " -Binary -offset 0x398000 -o " + expected + " -Motorola -Address_Length=3 -Output_Block_Size=32 2>&1";
    const auto cat = run_command(command);
    ASSERT_EQ(cat.exit_code, 0) << cat.out;
    const auto info = run_command("srec_info " + j.output.string() + " 2>&1");
    EXPECT_EQ(info.exit_code, 0) << info.out;
    const auto cmp = run_command("srec_cmp " + expected + " " + j.output.string() + " 2>&1");
    EXPECT_EQ(cmp.exit_code, 0) << cmp.out;
  }

  TempDir dir;
  std::vector<std::uint8_t> bank1;
  std::vector<std::uint8_t> bank2;
};

TEST(BankRecord, HoldsAddressDataAndChecksumInUpperCase) {
  std::uint8_t data[32];
  for (int i = 0; i < 32; ++i) data[i] = static_cast<std::uint8_t>(i);
  // 0x24 + 0x38 + 0x80 + 0x00 + (0 + 1 + ... + 31) = 0x2CC; one's complement of 0xCC is 0x33.
  EXPECT_EQ(bank_record(0x388000, data), "S224388000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F33");
  std::uint8_t ff[32];
  std::fill(std::begin(ff), std::end(ff), 0xFF);
  EXPECT_EQ(bank_record(0x39BFE0, ff), "S22439BFE0" + std::string(64, 'F') + srec('2', 0x39BFE0, std::vector<std::uint8_t>(32, 0xFF)).substr(74));
}

TEST_F(FirmwareMergeTest, ReplacesBothRangesWhereTheirFirstRecordsStood) {
  const std::string before = "S00600004844521B\r\n" + srec('1', 0x1234, {1, 2, 3}) + "\r\n" + s2_records(0x387F00, 0x388000, 16, 9);
  const std::string between = srec('2', 0x38C000, testing::pattern(16, 3)) + "\r\n" + s2_records(0x390000, 0x390100, 32, 5);
  const std::string after = s2_records(0x39C000, 0x39C040, 32, 6) + srec('9', 0) + "\r\n";
  // Bank 1's range holds 1024 records of 16 bytes, the last at 0x38BFF0; bank 2's 512 of 32.
  write_text(job().master, before + s2_records(0x388000, 0x38C000, 16, 7) + between +
                               s2_records(0x398000, 0x39C000, 32, 8) + after);

  std::uint64_t last_done = 0;
  std::uint64_t last_total = 1;
  const FirmwareMergeResult result = merge_firmware(job(), [&](std::uint64_t d, std::uint64_t t) {
    EXPECT_GE(d, last_done);
    last_done = d;
    last_total = t;
  });
  ASSERT_TRUE(result.complete()) << firmware_merge_message(result);
  EXPECT_EQ(result.banks[0], BankMerge::kInserted);
  EXPECT_EQ(result.banks[1], BankMerge::kInserted);
  EXPECT_FALSE(result.banks[2]);
  EXPECT_EQ(last_done, last_total);

  EXPECT_EQ(read_text(job().output), before + bank_lines(1) + between + bank_lines(2) + after);
  expect_same_as_srec_cat(job());
  // Nothing but the output and the bank folder is left in the configuration folder.
  EXPECT_EQ(testing::entry_count(dir / "PROJECTS" / "Line4"), 2u);
}

TEST_F(FirmwareMergeTest, RangeEdgesAndLineEnds) {
  // The last address of the range is replaced, the first one after it is copied; records may end
  // with LF alone or CR LF and all come out with CR LF; an empty line is copied.
  write_text(job().master, srec('2', 0x38BFFF, {0xAA}) + "\n" + srec('2', 0x38C000, {0xBB}) + "\r\n\n" +
                               srec('2', 0x398000, {0xCC}) + "\n" + srec('1', 0x8000, {0xDD}) + "\n" + srec('9', 0));
  const FirmwareMergeResult result = merge_firmware(job());
  ASSERT_TRUE(result.complete()) << firmware_merge_message(result);
  const std::vector<std::string> lines = lines_of(read_text(job().output));
  ASSERT_EQ(lines.size(), 512u + 1 + 1 + 512 + 1 + 1);
  EXPECT_EQ(lines[0].substr(0, 10), "S224388000");
  EXPECT_EQ(lines[511].substr(0, 10), "S22438BFE0");
  EXPECT_EQ(lines[512], srec('2', 0x38C000, {0xBB}));
  EXPECT_EQ(lines[513], "");
  EXPECT_EQ(lines[514].substr(0, 10), "S224398000");
  EXPECT_EQ(lines[1026], srec('1', 0x8000, {0xDD}));
  EXPECT_EQ(lines[1027], srec('9', 0));
  EXPECT_EQ(read_text(job().output).substr(read_text(job().output).size() - 2), "\r\n");
}

TEST_F(FirmwareMergeTest, LargeMasterMatchesAnIndependentMerge) {
  // About 2 MiB of records, so that lines cross the reader's chunk boundaries.
  write_text(job().master, "S00600004844521B\r\n" + s2_records(0x300000, 0x3D0000, 32, 11) + srec('9', 0) + "\r\n");
  const FirmwareMergeResult result = merge_firmware(job());
  ASSERT_TRUE(result.complete()) << firmware_merge_message(result);
  expect_same_as_srec_cat(job());
}

TEST_F(FirmwareMergeTest, FailuresLeaveNoOutputAndRemoveAnOldOne) {
  const std::string good = s2_records(0x388000, 0x38C000, 32, 1) + s2_records(0x398000, 0x39C000, 32, 2) + srec('9', 0) + "\r\n";
  struct Case {
    const char* name;
    std::function<void(FirmwareMergeTest&, FirmwareJob&)> arrange;
    MergeFailure failure;
    std::string message;  // the whole message, with DIR for the test folder
  };
  const std::string master = "DIR/MASTER/SXTalvik.sx";
  const Case cases[] = {
      {"no master", [&](FirmwareMergeTest&, FirmwareJob&) {}, MergeFailure::kMasterMissing,
       "File *.Sx Not Found,Abort Procedure\n" + master},
      {"no output name", [&](FirmwareMergeTest& t, FirmwareJob& j) { write_text(j.master, good); j.output = t.dir / "PROJECTS/Line4/"; },
       MergeFailure::kOutputNameEmpty, "File New *.Sx Not Found,Abort Procedure"},
      {"no bin folder", [&](FirmwareMergeTest&, FirmwareJob& j) { write_text(j.master, good); j.bin_folder.clear(); },
       MergeFailure::kBinFolderMissing, "Directory Bin Not Found,Abort Procedure"},
      {"no bank 2", [&](FirmwareMergeTest&, FirmwareJob& j) {
         write_text(j.master, good);
         std::filesystem::remove(j.bin_folder / "bank2.bin");
       }, MergeFailure::kBankFileMissing, "File bank2.bin Not Found,Abort Procedure\nDIR/PROJECTS/Line4/bin/bank2.bin"},
      {"short bank 1", [&](FirmwareMergeTest& t, FirmwareJob& j) {
         write_text(j.master, good);
         t.write_bank(1, testing::pattern(16000, 0));
       }, MergeFailure::kBankFileSize,
       "File bank1.bin Not Valid,Abort Procedure\nDIR/PROJECTS/Line4/bin/bank1.bin: 16000 bytes instead of 16384"},
      {"long bank 2", [&](FirmwareMergeTest& t, FirmwareJob& j) {
         write_text(j.master, good);
         t.write_bank(2, testing::pattern(16385, 0));
       }, MergeFailure::kBankFileSize,
       "File bank2.bin Not Valid,Abort Procedure\nDIR/PROJECTS/Line4/bin/bank2.bin: more than 16384 bytes"},
      {"address not hex", [&](FirmwareMergeTest&, FirmwareJob& j) {
         write_text(j.master, "S00600004844521B\r\n" + srec('1', 0, {1}) + "\r\nS2150X8000" + std::string(34, '0') + "\r\n" + good);
       }, MergeFailure::kMalformedLine,
       "File New Sx Not Create,Abort Procedure\n" + master + ": line 3: the address \"0X8000\" is not hexadecimal"},
      {"record cut short", [&](FirmwareMergeTest&, FirmwareJob& j) { write_text(j.master, good + "S10312"); },
       MergeFailure::kMalformedLine,
       "File New Sx Not Create,Abort Procedure\n" + master + ": line 1026: the record is too short to hold its address"},
      {"no S9", [&](FirmwareMergeTest&, FirmwareJob& j) {
         write_text(j.master, s2_records(0x388000, 0x38C000, 32, 1) + s2_records(0x398000, 0x39C000, 32, 2));
       }, MergeFailure::kNoEndRecord, "File New Sx Not Create,Abort Procedure\n" + master + ": no S9 end record"},
      {"bank 2 range missing", [&](FirmwareMergeTest&, FirmwareJob& j) {
         write_text(j.master, s2_records(0x388000, 0x38C000, 32, 1) + s2_records(0x39C000, 0x39C100, 32, 2) + srec('9', 0));
       }, MergeFailure::kBanksNotInMaster,
       "Bank 2 (0x398000-0x39BFFF) Not Found in " + master + ",Abort Procedure\nThe firmware file was not written."},
      {"both ranges missing", [&](FirmwareMergeTest&, FirmwareJob& j) { write_text(j.master, srec('9', 0)); },
       MergeFailure::kBanksNotInMaster,
       "Bank 1 (0x388000-0x38BFFF) Not Found in " + master + ",Abort Procedure\n"
       "Bank 2 (0x398000-0x39BFFF) Not Found in " + master + ",Abort Procedure\nThe firmware file was not written."},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(job().master);
    SetUp();
    FirmwareJob j = job();
    c.arrange(*this, j);
    const bool named = !j.output.filename().empty();
    if (named) write_text(j.output, "an old firmware file\r\n");
    const FirmwareMergeResult result = merge_firmware(j);
    ASSERT_FALSE(result.complete()) << c.name;
    EXPECT_EQ(result.failure, c.failure) << c.name;
    std::string message = firmware_merge_message(result);
    for (std::size_t at; (at = message.find(dir.path().string())) != std::string::npos;) {
      message.replace(at, dir.path().string().size(), "DIR");
    }
    EXPECT_EQ(message, c.message) << c.name;
    if (named) {
      EXPECT_FALSE(std::filesystem::exists(j.output)) << c.name;
    }
    EXPECT_EQ(testing::entry_count(dir / "PROJECTS" / "Line4"), 1u) << c.name << ": a file was left";
  }
}

TEST_F(FirmwareMergeTest, NeverWritesOverTheMaster) {
  const std::string master = s2_records(0x388000, 0x38C000, 32, 1) + s2_records(0x398000, 0x39C000, 32, 2) + srec('9', 0);
  write_text(job().master, master);
  FirmwareJob j = job();
  std::filesystem::create_hard_link(j.master, j.output);
  const FirmwareMergeResult result = merge_firmware(j);
  ASSERT_EQ(result.failure, MergeFailure::kWriteFailed);
  EXPECT_NE(firmware_merge_message(result).find("the output would replace the master file"), std::string::npos);
  EXPECT_EQ(read_text(j.master), master);
}

TEST_F(FirmwareMergeTest, AWriteFailureKeepsNoPartialOutput) {
  write_text(job().master, s2_records(0x388000, 0x38C000, 32, 1) + s2_records(0x398000, 0x39C000, 32, 2) + srec('9', 0));
  FirmwareJob j = job();
  j.output = dir / "no-such-folder" / "New_SXTalvik.sx";
  const FirmwareMergeResult result = merge_firmware(j);
  ASSERT_EQ(result.failure, MergeFailure::kWriteFailed);
  EXPECT_NE(firmware_merge_message(result).find("no-such-folder/New_SXTalvik.sx: No such file or directory"),
            std::string::npos)
      << firmware_merge_message(result);
}

}  // namespace
}  // namespace brenvale
