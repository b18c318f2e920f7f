// What the settings window shows for a settings record, and the checks it runs before it writes
// ParGen.xml. Hiding a row never changes a value: hidden settings are kept and written as held,
// and a check only runs while its row is in use.
#pragma once

#include <optional>

#include "settings/settings_record.h"

namespace brenvale {

// The category panels, top to bottom.
enum class SettingsPanel { kSelectDevice, kJ1939, kCanopen, kEthernet, kCount };

// The rows of the window, top to bottom; a row with a check box and an edit beside it is one row.
enum class SettingsRow {
  kSelectDevice,
  kJ1939Baudrate,
  kJ1939TimeOut,
  kJ1939PeerToPeer,
  kJ1939IdDevice,  // with Ethernet port
  kJ1939FilterFeca,  // with Ethernet port
  kCanopenIdDevice,
  kCanopenBaudrate,
  kCanopenSetOperational,
  kCanopenNetworkStart,
  kCanopenTpdoSendMethod,  // without Ethernet port
  kCanopenTpdoSendTime,  // without Ethernet port, On Timer
  kCanopenEnableNodeGuard,
  kCanopenNodeGuardSendJ1939,  // NodeGuard on
  kCanopenEnableSdoClient,
  kCanopenSdoTimeout,  // SDO client on
  kEthernetIp,
  kEthernetSubnetMask,
  kEthernetGateway,
  kCount
};

SettingsPanel panel_of(SettingsRow row);
bool panel_shown(const SettingsRecord& record, SettingsPanel panel);
// A row is shown when its panel is shown and its own rule holds.
bool row_shown(const SettingsRecord& record, SettingsRow row);

// The first failing check of the window, in the order the checks run.
struct SettingsFailure {
  int check;          // 1 to 20
  Setting setting;    // the number that is out of range
  int message_index;  // catalogue text shown in the error box
  bool operator==(const SettingsFailure&) const = default;
};

// Each number is read as an integer text; a text that is not one counts as -1 and so fails
// every range. Nothing relates two settings to each other.
std::optional<SettingsFailure> validate_settings(const SettingsRecord& record);

}  // namespace brenvale
