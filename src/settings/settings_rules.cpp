#include "settings/settings_rules.h"

#include <array>

#include "text/int_text.h"

namespace brenvale {

namespace {

using R = SettingsRow;
using S = Setting;

bool always(const SettingsRecord&) { return true; }
bool with_port(const SettingsRecord& r) { return r.with_port(); }
bool gateway_on(const SettingsRecord& r) { return r.with_port() && r.flag(S::kEthernetEnGat); }
bool network_start_on(const SettingsRecord& r) { return r.flag(S::kNetStartCanopen); }
bool tpdo_time_shown(const SettingsRecord& r) { return row_shown(r, R::kCanopenTpdoSendTime); }
bool node_guard_on_j1939(const SettingsRecord& r) { return r.flag(S::kNodeGuard) && r.flag(S::kSendNgJ1939); }
bool sdo_client_on(const SettingsRecord& r) { return r.flag(S::kEnSdoClient); }

struct RangeCheck {
  bool (*runs)(const SettingsRecord&);
  Setting setting;
  int min;
  int max;
  int message_index;
};

// In the order the window runs them; check N is entry N-1.
constexpr std::array<RangeCheck, 20> kChecks = {{
    {always, S::kTimeOutData, 0, 255, 1133},
    {with_port, S::kIdDevJ1939, 0, 239, 1135},
    {with_port, S::kFilterFecaTime, 1, 100000, 1136},  // whether or not the filter is on
    {always, S::kIdDevCanopen, 1, 127, 1180},
    {network_start_on, S::kDelayCanopen, 0, 255, 1181},
    {tpdo_time_shown, S::kSentTpdoTime, 1, 60000, 1182},
    {node_guard_on_j1939, S::kBgSendEvery, 1, 60000, 1183},
    {sdo_client_on, S::kToSdoClient, 0, 100000, 1184},
    {with_port, S::kEthernetIp1, 0, 255, 1143},
    {with_port, S::kEthernetIp2, 0, 255, 1144},
    {with_port, S::kEthernetIp3, 0, 255, 1145},
    {with_port, S::kEthernetIp4, 0, 255, 1146},
    {with_port, S::kEthernetSm1, 0, 255, 1147},
    {with_port, S::kEthernetSm2, 0, 255, 1148},
    {with_port, S::kEthernetSm3, 0, 255, 1149},
    {with_port, S::kEthernetSm4, 0, 255, 1150},
    {gateway_on, S::kEthernetGat1, 0, 255, 1151},
    {gateway_on, S::kEthernetGat2, 0, 255, 1152},
    {gateway_on, S::kEthernetGat3, 0, 255, 1153},
    {gateway_on, S::kEthernetGat4, 0, 255, 1154},
}};

}  // namespace

SettingsPanel panel_of(SettingsRow row) {
  if (row == R::kSelectDevice) return SettingsPanel::kSelectDevice;
  if (row < R::kCanopenIdDevice) return SettingsPanel::kJ1939;
  if (row < R::kEthernetIp) return SettingsPanel::kCanopen;
  return SettingsPanel::kEthernet;
}

bool panel_shown(const SettingsRecord& record, SettingsPanel panel) {
  return panel != SettingsPanel::kEthernet || record.with_port();
}

bool row_shown(const SettingsRecord& record, SettingsRow row) {
  if (!panel_shown(record, panel_of(row))) return false;
  switch (row) {
    case R::kJ1939IdDevice:
    case R::kJ1939FilterFeca:
      return record.with_port();
    case R::kCanopenTpdoSendMethod:
      return !record.with_port();
    case R::kCanopenTpdoSendTime:
      return !record.with_port() && !record.tpdo_on_data_change();
    case R::kCanopenNodeGuardSendJ1939:
      return record.flag(S::kNodeGuard);
    case R::kCanopenSdoTimeout:
      return record.flag(S::kEnSdoClient);
    default:
      return true;
  }
}

std::optional<SettingsFailure> validate_settings(const SettingsRecord& record) {
  for (std::size_t i = 0; i < kChecks.size(); ++i) {
    const RangeCheck& check = kChecks[i];
    if (!check.runs(record)) continue;
    const int value = parse_int_or(record.number(check.setting), -1);
    if (value < check.min || value > check.max) {
      return SettingsFailure{static_cast<int>(i) + 1, check.setting, check.message_index};
    }
  }
  return std::nullopt;
}

}  // namespace brenvale
