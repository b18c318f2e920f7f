#include "project/project_store.h"

namespace brenvale {

std::filesystem::path executable_folder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

void create_app_folders(const AppFolders& folders) {
  for (const auto& folder : {folders.master(), folders.projects(), folders.language()}) {
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
  }
}

bool is_safe_configuration_name(const std::string& name) {
  if (name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
}

void ActiveConfiguration::activate(const std::string& name) {
  if (name.empty() || !is_safe_configuration_name(name)) {
    deactivate();
    return;
  }
  name_ = name;
  folder_ = folders_.projects() / name;
}

void ActiveConfiguration::deactivate() {
  name_.clear();
  folder_.clear();
}

void ActiveConfiguration::restore(const std::string& remembered_name) {
  std::error_code ec;
  if (!remembered_name.empty() && is_safe_configuration_name(remembered_name) &&
      std::filesystem::is_directory(folders_.projects() / remembered_name, ec)) {
    activate(remembered_name);
  } else {
    deactivate();
  }
}

}  // namespace brenvale
