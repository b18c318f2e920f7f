#include "app/app_state.h"

namespace brenvale {

void AppState::start_up() {
  create_app_folders(folders);
  active.deactivate();
  read_back = true;
  settings = read_app_settings(folders.settings_file());
  load_language();
  active.restore(settings.project_name);
  settings.project_name = active.name();
}

void AppState::load_language() { catalogue.load(folders.language(), settings.language); }

Status AppState::save_settings() {
  settings.project_name = active.name();
  return save_app_settings(folders.settings_file(), settings);
}

}  // namespace brenvale
