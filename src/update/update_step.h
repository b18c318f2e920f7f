// The last part of Update Device, after the compile and the bank files: the update window that
// fits the configuration's converter.
#pragma once

#include "app/app_state.h"

namespace brenvale {

class TFBoot;
class TFModifyFileSx;

// A converter with Ethernet port (by the update-path test) gets the Ethernet update window,
// any other the firmware file window; either is shown modally.
void show_update_window(AppState& state, TFBoot& boot, TFModifyFileSx& firmware);

}  // namespace brenvale
