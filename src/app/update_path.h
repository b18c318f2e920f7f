// Which update a configuration takes: the Ethernet update for a device with Ethernet port, the
// firmware file otherwise. Stricter than the Ethernet-port test of the editors: a missing file
// means no Ethernet port, and letter case matters.
#pragma once

#include <filesystem>

namespace brenvale {

class XmlDocument;

bool takes_ethernet_update(const std::filesystem::path& par_gen_file);
// The same test on ParGen.xml already parsed; nullptr stands for a missing file.
bool takes_ethernet_update(const XmlDocument* par_gen);

}  // namespace brenvale
