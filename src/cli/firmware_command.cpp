#include "cli/firmware_command.h"

#include <filesystem>
#include <iostream>

#include "update/firmware_merge.h"

namespace brenvale::cli {

int run_firmware(const FirmwareOptions& options) {
  const std::filesystem::path project(options.project_dir);
  const std::filesystem::path master(options.master);
  FirmwareJob job;
  job.master = master;
  job.output = project / new_firmware_name(master.filename().string());
  job.bin_folder = project / "bin";
  const FirmwareMergeResult result = merge_firmware(job);
  if (!result.complete()) {
    std::cerr << firmware_merge_message(result) << "\n";
    return 1;
  }
  std::cout << job.output.string() << "\n";
  return std::cout.good() ? 0 : 1;
}

}  // namespace brenvale::cli
