// Helpers of the table window tests: a configuration folder of its own and a way to act inside a
// table window while its open_modal() runs.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "app/app_state.h"
#include "support/temp_dir.h"
#include "support/window_helpers.h"

namespace brenvale::testing {

struct Configuration {
  Configuration() : state(AppFolders{dir.path()}) {
    std::filesystem::create_directories(dir.path() / "PROJECTS" / "demo");
    state.active.activate("demo");
  }
  ConfigFiles files() const { return state.active.files(); }

  TempDir dir;
  AppState state;
};

// Runs `action` once the window is on screen, then ends the window if the action left it open so
// that a failing test cannot hang. Only for windows that do open: a refused table returns at once.
template <typename Window>
int open_and(Window& window, std::function<void()> action) {
  when_dialog_shown(&window, [&window, action] {
    action();
    if (window.isVisible()) window.reject();
  });
  return window.open_modal();
}

}  // namespace brenvale::testing
