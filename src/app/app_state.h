// The values the main window holds for the whole run and every other window reads: the
// application folders, the text catalogue, the application settings, the active configuration
// and the initial choices of the update window.
#pragma once

#include "app/app_settings.h"
#include "project/project_store.h"
#include "project/result.h"
#include "text/catalogue.h"

namespace brenvale {

struct AppState {
  explicit AppState(AppFolders app_folders) : folders(std::move(app_folders)), active(folders) {}

  AppFolders folders;
  Catalogue catalogue;
  AppSettings settings;
  ActiveConfiguration active;
  int update_option_index = 0;  // initial choice of the update window's operation list
  bool read_back = true;        // initial state of the update window's read-back box

  // The start-up sequence without the windows: folders, settings, language, remembered
  // configuration. A missing language file switches the language name to English.
  void start_up();

  // Loads the catalogue for the current language name (falling back to English).
  void load_language();

  // Writes Brenvale.xml; the saved name is always the active configuration's.
  Status save_settings();
};

}  // namespace brenvale
