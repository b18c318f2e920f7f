// The five values that survive from one run to the next, stored in Brenvale.xml in the
// application folder. Each value is read on its own with its own default.
#pragma once

#include <filesystem>
#include <string>

#include "project/result.h"

namespace brenvale {

inline constexpr const char* kDefaultIpAddress = "192.168.2.205";

struct AppSettings {
  std::string project_name;
  std::string ip_address = kDefaultIpAddress;
  std::string language = "English";
  bool enable_internet = false;
  bool enable_update = false;

  // The update check runs only while both internet options are on.
  bool update_check_enabled() const { return enable_internet && enable_update; }
};

// Never fails: a missing file, an unreadable document or a missing element gives defaults.
AppSettings read_app_settings(const std::filesystem::path& file);

// The document as written, and the atomic save of it.
std::string app_settings_text(const AppSettings& settings);
Status save_app_settings(const std::filesystem::path& file, const AppSettings& settings);

}  // namespace brenvale
