// The firmware file of a converter without Ethernet port: the master firmware (Motorola
// S-records) with the address ranges of the configuration banks replaced by the compiled banks.
// The flashing program then writes the whole file into the converter.
//
// The banks are merged in turn, master -> bank 1 -> bank 2 -> ..., each one dropping the master's
// records in its range and putting its own 512 records where the first of them stood; banks that
// are not selected pass the file on unchanged. The ranges are disjoint, so the turns are run as
// one streaming pass over the master, with no intermediate file: memory stays the same whatever
// the size of the master, and the output appears, complete, only when every selected bank went in.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brenvale {

// A configuration bank and its place in the converter's program memory (inclusive range).
struct FirmwareBank {
  int number;
  std::uint32_t first;
  std::uint32_t last;
};

inline constexpr std::array<FirmwareBank, 5> kFirmwareBanks = {{
    {1, 0x388000, 0x38BFFF},
    {2, 0x398000, 0x39BFFF},
    {3, 0x3A8000, 0x3ABFFF},
    {4, 0x3B8000, 0x3BBFFF},
    {5, 0x3C8000, 0x3CBFFF},
}};
inline constexpr std::size_t kBankBytes = 16384;
inline constexpr std::size_t kBankRecordBytes = 32;
inline constexpr std::size_t kBankRecordCount = kBankBytes / kBankRecordBytes;

// The master firmware in MASTER and the output name derived from it.
inline constexpr const char* kMasterFirmwareName = "SXTalvik.sx";
std::string new_firmware_name(const std::string& master_name);  // "New_" + master name

// One bank record without line end: "S224", the address as six hex digits, 32 data bytes as 64 hex
// digits, and the checksum (one's complement of the low byte of the sum of count, address and
// data bytes), all upper case.
std::string bank_record(std::uint32_t address, const std::uint8_t* data);

// What one bank's merge came to.
enum class BankMerge : int { kFailed = -1, kNotFound = 0, kInserted = 1 };

enum class MergeFailure {
  kMasterMissing,
  kOutputNameEmpty,
  kBinFolderMissing,
  kBankFileMissing,
  kBankFileSize,
  kMalformedLine,
  kNoEndRecord,
  kReadFailed,
  kWriteFailed,
  kBanksNotInMaster,
};

struct FirmwareJob {
  std::filesystem::path master;      // the master firmware file
  std::filesystem::path output;      // the firmware file to write (folder + "New_" + master name)
  std::filesystem::path bin_folder;  // the configuration's bin folder; empty when it has none
  std::array<bool, 5> selected = {true, true, false, false, false};
};

struct FirmwareMergeResult {
  // The result of each selected bank's merge; nothing for banks not selected.
  std::array<std::optional<BankMerge>, 5> banks;
  // Why no output was written; nothing when it was.
  std::optional<MergeFailure> failure;
  int bank = 0;                      // the bank a bank failure is about
  std::filesystem::path file;        // the file a failure is about
  std::size_t line = 0;              // the line of a malformed line, counted from 1
  std::string detail;                // the system's or the reader's reason
  std::vector<int> banks_not_found;  // selected banks whose range is not in the master

  // True when the output was written with every selected bank inserted.
  bool complete() const { return !failure; }
};

// Called now and then with the bytes handled so far and the total; for a progress bar.
using MergeProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Removes any earlier output first, so that a failed merge can never leave an old firmware file
// behind to be flashed; then merges. The output is written through a temporary file and renamed
// into place only when every selected bank was inserted.
FirmwareMergeResult merge_firmware(const FirmwareJob& job, const MergeProgress& progress = {});

// The message for a failed merge, in the window's fixed English texts, with the file, line and
// reason where there is one.
std::string firmware_merge_message(const FirmwareMergeResult& result);

}  // namespace brenvale
