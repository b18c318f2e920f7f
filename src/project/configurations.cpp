#include "project/configurations.h"

#include <algorithm>

namespace brenvale {

namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equal_ascii_case(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

}  // namespace

CreateResult create_configuration(ActiveConfiguration& active, const std::string& name) {
  if (name.empty()) return CreateResult::kEmptyName;
  if (!is_safe_configuration_name(name)) return CreateResult::kCreateFailed;
  const std::filesystem::path folder = active.app().projects() / name;
  std::error_code ec;
  if (std::filesystem::exists(folder, ec)) return CreateResult::kAlreadyExists;
  if (!std::filesystem::create_directory(folder, ec) || ec) return CreateResult::kCreateFailed;
  std::filesystem::create_directories(folder / "bin", ec);
  active.activate(name);
  return CreateResult::kCreated;
}

std::vector<std::string> list_configurations(const AppFolders& folders) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folders.projects(), ec);
  if (ec) return names;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden folders, "." and ".."
    std::error_code kind_ec;
    if (it->is_directory(kind_ec)) names.push_back(name);
  }
  return names;
}

int find_configuration(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (equal_ascii_case(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

int preselect_configuration(const std::vector<std::string>& names, const std::string& active_name) {
  const int found = find_configuration(names, active_name);
  if (found >= 0) return found;
  return names.empty() ? -1 : 0;
}

}  // namespace brenvale
