#include "app/update_path.h"

#include "project/xml_table.h"
#include "settings/ethernet_port.h"

namespace brenvale {

bool takes_ethernet_update(const std::filesystem::path& par_gen_file) {
  std::error_code ec;
  if (!std::filesystem::exists(par_gen_file, ec)) return false;
  Result<XmlDocument> document = load_xml_file(par_gen_file);
  return document && takes_ethernet_update(&*document);
}

bool takes_ethernet_update(const XmlDocument* par_gen) {
  if (par_gen == nullptr) return false;
  const std::optional<std::string> device = child_text(par_gen->root(), "Select_Device");
  return device && *device == kDeviceWithPort;
}

}  // namespace brenvale
