#include "update/update_step.h"

#include "app/update_path.h"
#include "update/boot_window.h"
#include "update/firmware_window.h"

namespace brenvale {

void show_update_window(AppState& state, TFBoot& boot, TFModifyFileSx& firmware) {
  if (takes_ethernet_update(state.active.files().par_gen())) {
    boot.Form_Type = 1;
    boot.exec();
  } else {
    firmware.exec();
  }
}

}  // namespace brenvale
