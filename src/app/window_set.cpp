#include "app/window_set.h"

#include "app/main_window.h"
#include "options/about_window.h"
#include "project/new_project_dialog.h"
#include "project/open_project_dialog.h"

namespace brenvale {

WindowSet::WindowSet(AppState& app_state) : state(app_state) {
  main = std::make_unique<TFMain>(state);
  new_project = new TFNew_Project(state, main.get());
  open_conf = new TFOpenConf(state, main.get());
  about = new TFAbout(main.get());

  recaption_order_ = {main.get(), new_project, open_conf};
  main->set_change_language([this] { Change_Language(); });
  wire_steps();
}

WindowSet::~WindowSet() = default;

void WindowSet::Change_Language() {
  for (ui::Captioned* window : recaption_order_) window->Set_Lang();
}

void WindowSet::wire_steps() {
  main->set_step("Btn_New", [this] {
    if (new_project->exec() == QDialog::Accepted) main->Show_Configuration();
  });
  main->set_step("Btn_Open", [this] {
    if (open_conf->exec() == QDialog::Accepted) {
      state.active.activate(open_conf->Name_Conf());
      main->Show_Configuration();
    }
  });
  main->set_step("Btn_Info", [this] { about->exec(); });
  main->set_step("Btn_CANopen_EDSFile", [this] { main->Create_EDS(); });
}

}  // namespace brenvale
