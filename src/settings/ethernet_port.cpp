#include "settings/ethernet_port.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "project/xml_table.h"

namespace brenvale {

namespace {

bool equal_ignoring_case(std::string_view a, const char* b) {
  const std::string_view bv(b);
  return a.size() == bv.size() && std::equal(a.begin(), a.end(), bv.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

EthernetPort device_text_port(std::string_view device) {
  if (equal_ignoring_case(device, kDeviceWithPort)) return EthernetPort::kWithPort;
  if (equal_ignoring_case(device, kDeviceWithoutPort)) return EthernetPort::kWithoutPort;
  return EthernetPort::kNeither;
}

Result<EthernetPort> read_ethernet_port(const std::filesystem::path& par_gen_file) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(par_gen_file, ec);
  // A folder that cannot be searched is no proof that the file is missing.
  if (ec) return Error{par_gen_file.string() + ": cannot be read (" + ec.message() + ")"};
  if (!exists) return EthernetPort::kWithPort;
  Result<XmlDocument> document = load_xml_file(par_gen_file);
  if (!document) return document.error();
  const std::optional<std::string> device = child_text(document->root(), "Select_Device");
  if (!device) return EthernetPort::kWithoutPort;
  return device_text_port(*device);
}

EthernetPort ethernet_port_test(const std::filesystem::path& par_gen_file) {
  Result<EthernetPort> result = read_ethernet_port(par_gen_file);
  return result ? *result : EthernetPort::kWithoutPort;
}

}  // namespace brenvale
