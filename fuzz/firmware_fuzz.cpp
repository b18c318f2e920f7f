// The firmware merge on a fuzzed master: either the new firmware is written complete, with the
// 512 records of each selected bank, or there is no output at all and a message says why; no
// temporary file is left either way.
#include "fuzz_support.h"
#include "update/firmware_merge.h"

using namespace brenvale;

namespace {

std::string bank_bytes(int number) {
  std::string bytes(kBankBytes, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(number * 31 + i * 7);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string banks[2] = {bank_bytes(1), bank_bytes(2)};
  // The banks stay from one input to the next; only the master and the output change.
  static const std::filesystem::path folder = [] {
    const std::filesystem::path made = fuzz::fresh_folder("firmware");
    std::filesystem::create_directories(made / "bin");
    fuzz::write_bytes(made / "bin" / "bank1.bin", banks[0]);
    fuzz::write_bytes(made / "bin" / "bank2.bin", banks[1]);
    return made;
  }();
  fuzz::write_bytes(folder / "SXTalvik.sx", fuzz::as_text(data, size));
  fuzz::write_bytes(folder / "New_SXTalvik.sx", "an earlier firmware\r\n");

  FirmwareJob job;
  job.master = folder / "SXTalvik.sx";
  job.output = folder / "New_SXTalvik.sx";
  job.bin_folder = folder / "bin";
  const FirmwareMergeResult result = merge_firmware(job);

  const std::set<std::string> inputs = {"bin", "SXTalvik.sx"};
  std::set<std::string> with_output = inputs;
  with_output.insert("New_SXTalvik.sx");
  if (!result.complete()) {
    fuzz::require(fuzz::entry_names(folder) == inputs, "a failed merge leaves no firmware and no temporary file");
    fuzz::require(!firmware_merge_message(result).empty(), "a failed merge says why");
    return 0;
  }
  fuzz::require(fuzz::entry_names(folder) == with_output, "a merge leaves the firmware and no temporary file");
  const std::string output = fuzz::read_bytes(job.output);
  for (int b = 0; b < 2; ++b) {
    const FirmwareBank& bank = kFirmwareBanks[static_cast<std::size_t>(b)];
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(banks[b].data());
    fuzz::require(result.banks[static_cast<std::size_t>(b)] == BankMerge::kInserted, "every selected bank went in");
    const std::size_t first = output.find(bank_record(bank.first, bytes));
    const std::size_t last = output.find(bank_record(bank.last + 1 - kBankRecordBytes, bytes + kBankBytes - kBankRecordBytes));
    fuzz::require(first != std::string::npos && last != std::string::npos && first < last,
                  "the bank's records stand in the firmware");
  }
  return 0;
}
