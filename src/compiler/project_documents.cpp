#include "compiler/project_documents.h"

#include <system_error>

namespace brenvale {

std::filesystem::path table_file_path(const ConfigFiles& files, TableFile which) {
  switch (which) {
    case TableFile::kSettings: return files.par_gen();
    case TableFile::kReceiveFrames: return files.receive_frames();
    case TableFile::kTransmitFrames: return files.transmit_frames();
    case TableFile::kSdoRead: return files.sdo_read();
    case TableFile::kSdoWrite: return files.sdo_write();
    case TableFile::kTransmitPdos: return files.transmit_pdos();
    case TableFile::kReceivePdos: return files.receive_pdos();
    case TableFile::kNodeGuard: return files.node_guard();
    case TableFile::kNodeGuardFrames: return files.node_guard_frames();
    case TableFile::kSdoClient: return files.sdo_client();
    case TableFile::kCount: break;
  }
  return {};
}

Result<const XmlDocument*> ProjectDocuments::get(TableFile which) {
  Slot& slot = slots_[static_cast<std::size_t>(which)];
  if (!slot.loaded) {
    slot.loaded = true;
    const std::filesystem::path file = path(which);
    std::error_code ec;
    // A path that cannot even be examined is not a missing table: let the load report it.
    slot.exists = std::filesystem::exists(file, ec) || ec;
    if (slot.exists) {
      Result<XmlDocument> loaded = load_xml_file(file);
      if (loaded) {
        slot.document.emplace(std::move(loaded).value());
      } else {
        slot.error = loaded.error();
      }
    }
  }
  if (slot.error) return *slot.error;
  if (!slot.exists) return static_cast<const XmlDocument*>(nullptr);
  return static_cast<const XmlDocument*>(&*slot.document);
}

std::vector<pugi::xml_node> element_rows(pugi::xml_node root) {
  std::vector<pugi::xml_node> rows;
  for (pugi::xml_node child : root.children()) {
    if (child.type() == pugi::node_element) rows.push_back(child);
  }
  return rows;
}

}  // namespace brenvale
