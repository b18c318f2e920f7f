// The hardware variant of a configuration, as the table editors and the EDS step see it: it
// decides which columns they show, the capacity of the PDO tables and the EDS template.
#pragma once

#include <filesystem>
#include <string_view>

#include "project/result.h"

namespace brenvale {

inline constexpr const char* kDeviceWithoutPort = "Device Without Ethernet Port";
inline constexpr const char* kDeviceWithPort = "Device With Ethernet Port";

enum class EthernetPort { kWithPort, kWithoutPort, kNeither };

// The text of Select_Device compared with both variants ignoring letter case.
EthernetPort device_text_port(std::string_view device);

// No ParGen.xml: with port. Select_Device missing or unreadable: without port. Otherwise the
// text compared with both variants ignoring letter case; any other text: neither.
EthernetPort ethernet_port_test(const std::filesystem::path& par_gen_file);
// The same for the table windows, which refuse to open on a ParGen.xml that is not well-formed.
Result<EthernetPort> read_ethernet_port(const std::filesystem::path& par_gen_file);

// Neither counts as without port everywhere.
inline bool has_ethernet_port(EthernetPort result) { return result == EthernetPort::kWithPort; }

}  // namespace brenvale
