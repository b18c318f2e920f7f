#include "app/update_path.h"

#include "project/xml_table.h"
#include "settings/ethernet_port.h"

namespace brenvale {

bool takes_ethernet_update(const std::filesystem::path& par_gen_file) {
  std::error_code ec;
  if (!std::filesystem::exists(par_gen_file, ec)) return false;
  Result<XmlDocument> document = load_xml_file(par_gen_file);
  if (!document) return false;
  const std::optional<std::string> device = child_text(document->root(), "Select_Device");
  return device && *device == kDeviceWithPort;
}

}  // namespace brenvale
