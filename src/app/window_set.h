// Every window of the configurator, created once at start (the main window first, since its
// creation loads the catalogue that the others read) and kept until the program ends.
#pragma once

#include <memory>
#include <vector>

#include "app/app_state.h"

namespace brenvale {

class TFMain;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFSoftOptions;
class TFDefine_TPDO;
class TFDefine_RPDO;
class TFDefine_Server_SDO_Read;
class TFDefine_Server_SDO_Write;
class TFReceive_J1939;
class TFTransmit_J1939;
class TFDefine_Client_SDO;
class TFDefine_NodeGuard;
class TFParGen2;
class TFBoot;
class TFModifyFileSx;

namespace ui {
class Captioned;
}

class WindowSet {
 public:
  explicit WindowSet(AppState& state);
  ~WindowSet();
  WindowSet(const WindowSet&) = delete;
  WindowSet& operator=(const WindowSet&) = delete;

  AppState& state;
  std::unique_ptr<TFMain> main;
  TFNew_Project* new_project = nullptr;
  TFOpenConf* open_conf = nullptr;
  TFAbout* about = nullptr;
  TFSoftOptions* options = nullptr;
  TFDefine_TPDO* tpdo = nullptr;
  TFDefine_RPDO* rpdo = nullptr;
  TFDefine_Server_SDO_Read* sdo_read = nullptr;
  TFDefine_Server_SDO_Write* sdo_write = nullptr;
  TFDefine_Client_SDO* sdo_client = nullptr;
  TFDefine_NodeGuard* node_guard = nullptr;
  TFReceive_J1939* receive_frames = nullptr;
  TFTransmit_J1939* transmit_frames = nullptr;
  TFBoot* boot = nullptr;
  TFParGen2* par_gen = nullptr;
  TFModifyFileSx* firmware = nullptr;

  // Re-applies every window's captions, in the order the language change asks for.
  void Change_Language();

 private:
  void wire_steps();
  std::vector<ui::Captioned*> recaption_order_;
};

}  // namespace brenvale
