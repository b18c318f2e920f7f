// Everything lives in plain folders beside the executable: MASTER (firmware masters), PROJECTS
// (one folder per configuration), LANGUAGE (language files), and the settings file. At most one
// configuration is active; its folder gives the paths of all its table files.
#pragma once

#include <filesystem>
#include <string>

namespace brenvale {

struct AppFolders {
  std::filesystem::path app_dir;

  std::filesystem::path master() const { return app_dir / "MASTER"; }
  std::filesystem::path projects() const { return app_dir / "PROJECTS"; }
  std::filesystem::path language() const { return app_dir / "LANGUAGE"; }
  std::filesystem::path settings_file() const { return app_dir / "Brenvale.xml"; }
  std::filesystem::path ethernet_updater() const { return app_dir / "Ethernet_Update.exe"; }
  std::filesystem::path ethernet_update_file() const { return app_dir / "Ethernet_Update.xml"; }
  std::filesystem::path flash_writer() const { return app_dir / "FlashWrite.exe"; }
};

// The folder of the running executable, the default application folder.
std::filesystem::path executable_folder();

// Creates MASTER, PROJECTS and LANGUAGE where missing, one level deep; failures are ignored.
void create_app_folders(const AppFolders& folders);

// The ten table files of a configuration and its output folder.
struct ConfigFiles {
  std::filesystem::path folder;

  std::filesystem::path par_gen() const { return folder / "ParGen.xml"; }
  std::filesystem::path receive_frames() const { return folder / "RCobDef.xml"; }
  std::filesystem::path transmit_frames() const { return folder / "TCobDef.xml"; }
  std::filesystem::path transmit_pdos() const { return folder / "TpdoJ1939.xml"; }
  std::filesystem::path receive_pdos() const { return folder / "pdoJ1939.xml"; }
  std::filesystem::path sdo_read() const { return folder / "RInfoCob.xml"; }
  std::filesystem::path sdo_write() const { return folder / "TInfoCob.xml"; }
  std::filesystem::path sdo_client() const { return folder / "SDOClient.xml"; }
  std::filesystem::path node_guard() const { return folder / "NodeGuard.xml"; }
  std::filesystem::path node_guard_frames() const { return folder / "NG_J1939_Frame.xml"; }
  std::filesystem::path bin() const { return folder / "bin"; }
};

// A configuration name that is safe to join to PROJECTS: not ".", not "..", no separator, no NUL.
// Empty names are handled by the callers (empty means "none open").
bool is_safe_configuration_name(const std::string& name);

class ActiveConfiguration {
 public:
  explicit ActiveConfiguration(AppFolders folders) : folders_(std::move(folders)) {}

  // An empty or unsafe name acts as deactivate.
  void activate(const std::string& name);
  void deactivate();
  bool is_open() const { return !folder_.empty(); }

  // Activates the remembered name when its folder exists under PROJECTS, else deactivates.
  void restore(const std::string& remembered_name);

  const std::string& name() const { return name_; }
  const std::filesystem::path& folder() const { return folder_; }
  ConfigFiles files() const { return ConfigFiles{folder_}; }
  const AppFolders& app() const { return folders_; }

 private:
  AppFolders folders_;
  std::string name_;
  std::filesystem::path folder_;
};

}  // namespace brenvale
