// Brenvale.xml: whatever the file holds, the reader gives settings (defaults where it cannot
// read), and the settings written back read as the same settings.
#include "app/app_settings.h"
#include "fuzz_support.h"

using namespace brenvale;

namespace {

bool same(const AppSettings& a, const AppSettings& b) {
  return a.project_name == b.project_name && a.ip_address == b.ip_address && a.language == b.language &&
         a.enable_internet == b.enable_internet && a.enable_update == b.enable_update;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = fuzz::fresh_folder("app");
  const std::filesystem::path file = folder / "Brenvale.xml";
  fuzz::write_bytes(file, fuzz::as_text(data, size));

  const AppSettings settings = read_app_settings(file);
  fuzz::require(save_app_settings(file, settings).ok(), "settings saved");
  fuzz::require(fuzz::entry_names(folder) == std::set<std::string>{"Brenvale.xml"}, "no temporary file left");
  fuzz::require(same(read_app_settings(file), settings), "settings read back as saved", app_settings_text(settings));
  return 0;
}
