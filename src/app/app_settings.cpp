#include "app/app_settings.h"

#include "project/atomic_file.h"
#include "project/xml_table.h"

#include <sstream>

namespace brenvale {

namespace {

// Element names of Brenvale.xml.
constexpr const char* kRoot = "Conf_Settings";
constexpr const char* kLastProject = "lastproj";
constexpr const char* kProjectName = "projectname";
constexpr const char* kLastIp = "lastipadd";
constexpr const char* kIpAddress = "ipaddress";
constexpr const char* kLastLanguage = "lastlang";
constexpr const char* kLanguage = "language";
constexpr const char* kLastInternet = "lastinternet";
constexpr const char* kEnableInternet = "enable_internet";
constexpr const char* kEnableUpdate = "enable_update";

std::optional<std::string> nested_text(pugi::xml_node root, const char* container, const char* name) {
  const pugi::xml_node parent = root.child(container);
  if (!parent) return std::nullopt;
  return child_text(parent, name);
}

}  // namespace

AppSettings read_app_settings(const std::filesystem::path& file) {
  AppSettings settings;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return settings;
  Result<XmlDocument> document = load_xml_file(file);
  if (!document) return settings;
  const pugi::xml_node root = document->root();

  settings.project_name = nested_text(root, kLastProject, kProjectName).value_or("");
  settings.ip_address = nested_text(root, kLastIp, kIpAddress).value_or(kDefaultIpAddress);
  settings.language = nested_text(root, kLastLanguage, kLanguage).value_or("English");
  settings.enable_internet = nested_text(root, kLastInternet, kEnableInternet).value_or("") == "1";
  settings.enable_update = nested_text(root, kLastInternet, kEnableUpdate).value_or("") == "1";
  return settings;
}

std::string app_settings_text(const AppSettings& settings) {
  pugi::xml_document doc;
  pugi::xml_node root = doc.append_child(kRoot);
  auto text_child = [](pugi::xml_node parent, const char* name, const std::string& text) {
    pugi::xml_node node = parent.append_child(name);
    if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(text.c_str());
  };
  text_child(root.append_child(kLastProject), kProjectName, settings.project_name);
  text_child(root.append_child(kLastIp), kIpAddress, settings.ip_address);
  text_child(root.append_child(kLastLanguage), kLanguage, settings.language);
  pugi::xml_node internet = root.append_child(kLastInternet);
  text_child(internet, kEnableInternet, settings.enable_internet ? "1" : "0");
  text_child(internet, kEnableUpdate, settings.enable_update ? "1" : "0");

  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

Status save_app_settings(const std::filesystem::path& file, const AppSettings& settings) {
  return write_file_atomic(file, app_settings_text(settings));
}

}  // namespace brenvale
