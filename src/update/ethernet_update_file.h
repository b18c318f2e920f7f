// The parameter file of the Ethernet updater, `Ethernet_Update.xml` in the application folder.
// The updater reads the device address, its ports and one or two operations (the firmware from
// MASTER, the configuration image from the configuration's bin folder). Every value but the
// address, the files and the two choices is fixed text that only the updater interprets.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "project/result.h"

namespace brenvale {

// The entries of the update option list, by index.
enum class UpdateOption : int { kFirmwareAndConfiguration = 0, kFirmware = 1, kConfiguration = 2 };

struct EthernetUpdateRequest {
  std::string ip_address;  // as typed: the four parts joined by "."
  UpdateOption option = UpdateOption::kFirmwareAndConfiguration;
  bool read_back = true;
  std::filesystem::path master_folder;          // the application folder's MASTER
  std::filesystem::path configuration_folder;   // the active configuration's folder
};

// The four address fields as one address text, each part as typed.
std::string join_ip_address(const std::array<std::string, 4>& parts);

// The firmware the updater sends: MASTER/SimTalvikK.sim.
std::filesystem::path ethernet_firmware_file(const std::filesystem::path& master_folder);
// The configuration image it sends: the configuration's bin/bank.bin.
std::filesystem::path ethernet_configuration_file(const std::filesystem::path& configuration_folder);

// The file's text: no declaration, no comment, no indentation, UTF-8.
std::string ethernet_update_text(const EthernetUpdateRequest& request);
// Replaces the file as a whole; a failure leaves the old file as it was.
Status write_ethernet_update_file(const std::filesystem::path& path, const EthernetUpdateRequest& request);

}  // namespace brenvale
