#include "update/ethernet_update_file.h"

#include <sstream>

#include <pugixml.hpp>

#include "project/atomic_file.h"

namespace brenvale {

namespace {

void add_text(pugi::xml_node parent, const char* name, const std::string& text) {
  pugi::xml_node element = parent.append_child(name);
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(text.c_str());
}

// One operation of the updater. The firmware goes to the program memory (bank type 1) and
// writes its checksum; the configuration image goes to device address 0x58C00 (bank type 2).
void add_operation(pugi::xml_node operations, bool firmware, const std::string& file, bool read_back,
                   bool go_to_app_after) {
  pugi::xml_node op = operations.append_child("Operation");
  add_text(op, "Ope_Protection_Enabled", "");
  add_text(op, "Ope_GoToBoot_Before", "0");
  add_text(op, "Ope_GoToApp_Before", "0");
  add_text(op, "Ope_IP_Address", "");
  add_text(op, "Ope_Port", "2008");
  add_text(op, "Ope_Port_Sec", "2007");
  add_text(op, "Ope_Erase_Memory", "0");
  add_text(op, "Ope_FileName", file);
  add_text(op, "Ope_Start_Address", firmware ? "0x8000" : "0x58C00");
  add_text(op, "Ope_Memory_Type", "0");
  add_text(op, "Ope_Bank_Type", firmware ? "1" : "2");
  add_text(op, "Ope_Read_Back", read_back ? "1" : "0");
  add_text(op, "Ope_Write_CSS", firmware ? "1" : "0");
  add_text(op, "Ope_Address_CSS", firmware ? "0x78100" : "0x50100");
  add_text(op, "Ope_Command_CSS", "0x0B");
  add_text(op, "Ope_GoToApp_After", go_to_app_after ? "1" : "0");
}

}  // namespace

std::string join_ip_address(const std::array<std::string, 4>& parts) {
  return parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3];
}

std::filesystem::path ethernet_firmware_file(const std::filesystem::path& master_folder) {
  return master_folder / "SimTalvikK.sim";
}

std::filesystem::path ethernet_configuration_file(const std::filesystem::path& configuration_folder) {
  return configuration_folder / "bin" / "bank.bin";
}

std::string ethernet_update_text(const EthernetUpdateRequest& request) {
  pugi::xml_document doc;
  pugi::xml_node root = doc.append_child("Ethernet_Update");
  add_text(root, "Version", "1000");
  add_text(root, "Title", "Corvane - Talvik Ethernet Update");
  add_text(root, "IP_Address_Dev", request.ip_address);
  add_text(root, "Application_Port", "10000");
  add_text(root, "Boot_Port", "2008");
  add_text(root, "Boot_Port_Sec", "2007");
  add_text(root, "Address_Protection", "0x78000");
  add_text(root.append_child("Protections"), "Protection", "0x584");
  pugi::xml_node operations = root.append_child("Operations");
  if (request.option != UpdateOption::kConfiguration) {
    add_operation(operations, true, ethernet_firmware_file(request.master_folder).string(), request.read_back,
                  request.option == UpdateOption::kFirmware);
  }
  if (request.option != UpdateOption::kFirmware) {
    add_operation(operations, false, ethernet_configuration_file(request.configuration_folder).string(),
                  request.read_back, true);
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

Status write_ethernet_update_file(const std::filesystem::path& path, const EthernetUpdateRequest& request) {
  return write_file_atomic(path, ethernet_update_text(request));
}

}  // namespace brenvale
