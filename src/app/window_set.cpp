#include "app/window_set.h"

#include "app/main_window.h"
#include "canopen/node_guard_window.h"
#include "canopen/rpdo_window.h"
#include "canopen/sdo_client_window.h"
#include "canopen/sdo_server_window.h"
#include "canopen/tpdo_window.h"
#include "j1939/receive_frames_window.h"
#include "j1939/transmit_frames_window.h"
#include "options/about_window.h"
#include "options/options_window.h"
#include "options/version_check.h"
#include "project/new_project_dialog.h"
#include "project/open_project_dialog.h"
#include "settings/par_gen_window.h"
#include "update/boot_window.h"
#include "update/firmware_window.h"
#include "update/update_step.h"

namespace brenvale {

WindowSet::WindowSet(AppState& app_state) : state(app_state) {
  main = std::make_unique<TFMain>(state);
  new_project = new TFNew_Project(state, main.get());
  open_conf = new TFOpenConf(state, main.get());
  about = new TFAbout(main.get());
  options = new TFSoftOptions(state, main.get());
  tpdo = new TFDefine_TPDO(state, main.get());
  rpdo = new TFDefine_RPDO(state, main.get());
  sdo_read = new TFDefine_Server_SDO_Read(state, main.get());
  sdo_write = new TFDefine_Server_SDO_Write(state, main.get());
  sdo_client = new TFDefine_Client_SDO(state.catalogue, state.active, main.get());
  node_guard = new TFDefine_NodeGuard(state.catalogue, state.active, main.get());
  receive_frames = new TFReceive_J1939(state, main.get());
  transmit_frames = new TFTransmit_J1939(state, main.get());
  boot = new TFBoot(state, main.get());
  par_gen = new TFParGen2(state.catalogue, main.get());
  firmware = new TFModifyFileSx(state, main.get());

  // The update window sets its captions each time it is shown; the firmware and about windows
  // have fixed English texts.
  recaption_order_ = {main.get(), new_project,     open_conf,       options, sdo_client, node_guard, rpdo,
                      sdo_read,   sdo_write,       tpdo,            receive_frames, transmit_frames, par_gen};
  main->set_change_language([this] { Change_Language(); });
  options->set_change_language([this] { main->Change_Language(); });
  // Both the timer and the options window ask the maker's server.
  main->set_version_check([] { return check_version(); });
  options->set_version_check([] { return check_version(); });
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
  main->set_step("Btn_Opz", [this] {
    if (options->exec() == QDialog::Accepted) {
      main->Save_Setting();
      main->Switch_Update_Timer();
    }
  });
  main->set_step("Btn_CANopen_EDSFile", [this] { main->Create_EDS(); });
  main->set_step("Btn_CreateBin", [this] { main->Update_Device(); });
  main->set_update_window([this] { show_update_window(state, *boot, *firmware); });
  main->set_step("Btn_Prm_Gen", [this] { par_gen->open_for(state.active.files()); });
  main->set_step("Btn_Set_SDO_Client", [this] { sdo_client->Execute(); });
  main->set_step("Btn_Set_NodeGuard", [this] { node_guard->Execute(); });
  main->set_step("Btn_Receive_J1939", [this] { receive_frames->open_modal(); });
  main->set_step("Btn_Transmit_J1939", [this] { transmit_frames->open_modal(); });
  main->set_step("Btn_Define_Receive_TPDO", [this] { tpdo->open_modal(); });
  main->set_step("Btn_Define_Transmit_RPDO", [this] { rpdo->open_modal(); });
  main->set_step("Btn_Define_Receive_SDO", [this] { sdo_read->open_modal(); });
  main->set_step("Btn_Define_Transmit_SDO", [this] { sdo_write->open_modal(); });
}

}  // namespace brenvale
