// brenvale-cli firmware: the firmware file of a converter without Ethernet port, made from a
// configuration's compiled banks 1 and 2 and a master firmware, as the update window makes it.
#pragma once

#include <string>

namespace brenvale::cli {

struct FirmwareOptions {
  std::string project_dir;
  std::string master;
};

// 0 when both banks were merged; 1 with a message on standard error otherwise.
int run_firmware(const FirmwareOptions& options);

}  // namespace brenvale::cli
