#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_rules.h"

namespace brenvale {
namespace {

using S = Setting;
using R = SettingsRow;

SettingsRecord without_port() {
  SettingsRecord r;
  r.set_variant(HardwareVariant::kWithoutPort);
  return r;
}

std::string shown_rows(const SettingsRecord& record) {
  static const char* const kNames[] = {"Device", "J-Baud", "J-TimeOut", "J-P2P", "J-ID", "J-FECA", "C-ID",
                                       "C-Baud", "C-SetOpe", "C-NetOpe", "C-TPDO", "C-TPDOTime", "C-NG",
                                       "C-NGJ1939", "C-SDO", "C-SDOTime", "E-IP", "E-SM", "E-GAT"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(R::kCount));
  std::string out;
  for (int i = 0; i < static_cast<int>(R::kCount); ++i) {
    if (row_shown(record, static_cast<R>(i))) out += std::string(out.empty() ? "" : " ") + kNames[i];
  }
  return out;
}

TEST(SettingsLayout, RowsShownPerVariantAndSwitch) {
  struct Case {
    const char* name;
    std::function<void(SettingsRecord&)> edit;
    const char* rows;
  };
  const std::vector<Case> cases = {
      {"defaults (with port)", [](SettingsRecord&) {},
       "Device J-Baud J-TimeOut J-P2P J-ID J-FECA C-ID C-Baud C-SetOpe C-NetOpe C-NG C-SDO E-IP E-SM E-GAT"},
      {"without port, On Data Change", [](SettingsRecord& r) { r.set_variant(HardwareVariant::kWithoutPort); },
       "Device J-Baud J-TimeOut J-P2P C-ID C-Baud C-SetOpe C-NetOpe C-TPDO C-NG C-SDO"},
      {"without port, On Timer",
       [](SettingsRecord& r) {
         r.set_variant(HardwareVariant::kWithoutPort);
         r.set_flag(S::kSentTpdo, false);
       },
       "Device J-Baud J-TimeOut J-P2P C-ID C-Baud C-SetOpe C-NetOpe C-TPDO C-TPDOTime C-NG C-SDO"},
      {"with port, On Timer held", [](SettingsRecord& r) { r.set_flag(S::kSentTpdo, false); },
       "Device J-Baud J-TimeOut J-P2P J-ID J-FECA C-ID C-Baud C-SetOpe C-NetOpe C-NG C-SDO E-IP E-SM E-GAT"},
      {"NodeGuard and SDO client on, network start and gateway off",
       [](SettingsRecord& r) {
         r.set_variant(HardwareVariant::kWithoutPort);
         r.set_flag(S::kNodeGuard, true);
         r.set_flag(S::kEnSdoClient, true);
       },
       "Device J-Baud J-TimeOut J-P2P C-ID C-Baud C-SetOpe C-NetOpe C-TPDO C-NG C-NGJ1939 C-SDO C-SDOTime"},
  };
  for (const Case& c : cases) {
    SettingsRecord record;
    c.edit(record);
    EXPECT_EQ(shown_rows(record), c.rows) << c.name;
    EXPECT_EQ(panel_shown(record, SettingsPanel::kEthernet), record.with_port()) << c.name;
  }
}

TEST(SettingsLayout, PanelsHoldTheirRows) {
  EXPECT_EQ(panel_of(R::kSelectDevice), SettingsPanel::kSelectDevice);
  EXPECT_EQ(panel_of(R::kJ1939Baudrate), SettingsPanel::kJ1939);
  EXPECT_EQ(panel_of(R::kJ1939FilterFeca), SettingsPanel::kJ1939);
  EXPECT_EQ(panel_of(R::kCanopenIdDevice), SettingsPanel::kCanopen);
  EXPECT_EQ(panel_of(R::kCanopenSdoTimeout), SettingsPanel::kCanopen);
  EXPECT_EQ(panel_of(R::kEthernetIp), SettingsPanel::kEthernet);
  EXPECT_EQ(panel_of(R::kEthernetGateway), SettingsPanel::kEthernet);
}

struct CheckCase {
  const char* name;
  std::function<SettingsRecord()> make;
  std::optional<SettingsFailure> failure;
};

SettingsRecord with(SettingsRecord r, S setting, const char* text) {
  r.set_number(setting, text);
  return r;
}

SettingsRecord flagged(SettingsRecord r, S setting, bool on = true) {
  r.set_flag(setting, on);
  return r;
}

TEST(SettingsValidation, EachCheckWithItsConditionAndMessage) {
  const SettingsRecord base;
  const SettingsRecord bare = without_port();
  const SettingsRecord timer = flagged(bare, S::kSentTpdo, false);
  const std::vector<CheckCase> cases = {
      {"defaults pass", [&] { return base; }, std::nullopt},
      {"defaults without port pass", [&] { return bare; }, std::nullopt},
      {"timeout 255", [&] { return with(base, S::kTimeOutData, "255"); }, std::nullopt},
      {"timeout 256", [&] { return with(base, S::kTimeOutData, "256"); }, SettingsFailure{1, S::kTimeOutData, 1133}},
      {"timeout empty", [&] { return with(base, S::kTimeOutData, ""); }, SettingsFailure{1, S::kTimeOutData, 1133}},
      {"timeout -1", [&] { return with(bare, S::kTimeOutData, "-1"); }, SettingsFailure{1, S::kTimeOutData, 1133}},
      {"timeout hex $FF", [&] { return with(base, S::kTimeOutData, "$FF"); }, std::nullopt},
      {"timeout 0x100", [&] { return with(base, S::kTimeOutData, "0x100"); },
       SettingsFailure{1, S::kTimeOutData, 1133}},
      {"timeout trailing blank", [&] { return with(base, S::kTimeOutData, "12 "); },
       SettingsFailure{1, S::kTimeOutData, 1133}},
      {"J1939 ID 239", [&] { return with(base, S::kIdDevJ1939, "239"); }, std::nullopt},
      {"J1939 ID 240", [&] { return with(base, S::kIdDevJ1939, "240"); }, SettingsFailure{2, S::kIdDevJ1939, 1135}},
      {"J1939 ID 240 without port", [&] { return with(bare, S::kIdDevJ1939, "240"); }, std::nullopt},
      {"FECA 0 with filter off", [&] { return with(base, S::kFilterFecaTime, "0"); },
       SettingsFailure{3, S::kFilterFecaTime, 1136}},
      {"FECA 100001", [&] { return with(flagged(base, S::kEnableFilterFeca), S::kFilterFecaTime, "100001"); },
       SettingsFailure{3, S::kFilterFecaTime, 1136}},
      {"FECA 100000", [&] { return with(base, S::kFilterFecaTime, "100000"); }, std::nullopt},
      {"FECA 0 without port", [&] { return with(bare, S::kFilterFecaTime, "0"); }, std::nullopt},
      {"CANopen ID 0", [&] { return with(bare, S::kIdDevCanopen, "0"); }, SettingsFailure{4, S::kIdDevCanopen, 1180}},
      {"CANopen ID 128", [&] { return with(base, S::kIdDevCanopen, "128"); },
       SettingsFailure{4, S::kIdDevCanopen, 1180}},
      {"CANopen ID 127", [&] { return with(base, S::kIdDevCanopen, "127"); }, std::nullopt},
      {"delay 999 with network start off", [&] { return with(base, S::kDelayCanopen, "999"); }, std::nullopt},
      {"delay 256 with network start on",
       [&] { return with(flagged(base, S::kNetStartCanopen), S::kDelayCanopen, "256"); },
       SettingsFailure{5, S::kDelayCanopen, 1181}},
      {"TPDO time 0 On Timer without port", [&] { return with(timer, S::kSentTpdoTime, "0"); },
       SettingsFailure{6, S::kSentTpdoTime, 1182}},
      {"TPDO time 60001 On Timer", [&] { return with(timer, S::kSentTpdoTime, "60001"); },
       SettingsFailure{6, S::kSentTpdoTime, 1182}},
      {"TPDO time 60000 On Timer", [&] { return with(timer, S::kSentTpdoTime, "60000"); }, std::nullopt},
      {"TPDO time 0 On Data Change", [&] { return with(bare, S::kSentTpdoTime, "0"); }, std::nullopt},
      {"TPDO time 0 On Timer with port",
       [&] { return with(flagged(base, S::kSentTpdo, false), S::kSentTpdoTime, "0"); }, std::nullopt},
      {"NG time 0, NodeGuard on, J1939 off", [&] { return with(flagged(base, S::kNodeGuard), S::kBgSendEvery, "0"); },
       std::nullopt},
      {"NG time 0, J1939 on, NodeGuard off",
       [&] { return with(flagged(base, S::kSendNgJ1939), S::kBgSendEvery, "0"); }, std::nullopt},
      {"NG time 0, both on",
       [&] { return with(flagged(flagged(base, S::kNodeGuard), S::kSendNgJ1939), S::kBgSendEvery, "0"); },
       SettingsFailure{7, S::kBgSendEvery, 1183}},
      {"SDO timeout 0 on", [&] { return with(flagged(base, S::kEnSdoClient), S::kToSdoClient, "0"); }, std::nullopt},
      {"SDO timeout 100001 on", [&] { return with(flagged(base, S::kEnSdoClient), S::kToSdoClient, "100001"); },
       SettingsFailure{8, S::kToSdoClient, 1184}},
      {"SDO timeout 100001 off", [&] { return with(base, S::kToSdoClient, "100001"); }, std::nullopt},
      {"IP1 300", [&] { return with(base, S::kEthernetIp1, "300"); }, SettingsFailure{9, S::kEthernetIp1, 1143}},
      {"IP2 abc", [&] { return with(base, S::kEthernetIp2, "abc"); }, SettingsFailure{10, S::kEthernetIp2, 1144}},
      {"IP3 -1", [&] { return with(base, S::kEthernetIp3, "-1"); }, SettingsFailure{11, S::kEthernetIp3, 1145}},
      {"IP4 256", [&] { return with(base, S::kEthernetIp4, "256"); }, SettingsFailure{12, S::kEthernetIp4, 1146}},
      {"IP1 300 without port", [&] { return with(bare, S::kEthernetIp1, "300"); }, std::nullopt},
      {"SM1 256", [&] { return with(base, S::kEthernetSm1, "256"); }, SettingsFailure{13, S::kEthernetSm1, 1147}},
      {"SM2 empty", [&] { return with(base, S::kEthernetSm2, ""); }, SettingsFailure{14, S::kEthernetSm2, 1148}},
      {"SM3 1.5", [&] { return with(base, S::kEthernetSm3, "1.5"); }, SettingsFailure{15, S::kEthernetSm3, 1149}},
      {"SM4 999", [&] { return with(base, S::kEthernetSm4, "999"); }, SettingsFailure{16, S::kEthernetSm4, 1150}},
      {"SM 0.0.0.0 and IP 0.0.0.0",
       [&] {
         SettingsRecord r = base;
         for (S s : {S::kEthernetIp1, S::kEthernetIp2, S::kEthernetIp3, S::kEthernetIp4, S::kEthernetSm1,
                     S::kEthernetSm2, S::kEthernetSm3, S::kEthernetSm4})
           r.set_number(s, "0");
         return r;
       },
       std::nullopt},
      {"GAT1 256 gateway off", [&] { return with(base, S::kEthernetGat1, "256"); }, std::nullopt},
      {"GAT1 256", [&] { return with(flagged(base, S::kEthernetEnGat), S::kEthernetGat1, "256"); },
       SettingsFailure{17, S::kEthernetGat1, 1151}},
      {"GAT2 x", [&] { return with(flagged(base, S::kEthernetEnGat), S::kEthernetGat2, "x"); },
       SettingsFailure{18, S::kEthernetGat2, 1152}},
      {"GAT3 -5", [&] { return with(flagged(base, S::kEthernetEnGat), S::kEthernetGat3, "-5"); },
       SettingsFailure{19, S::kEthernetGat3, 1153}},
      {"GAT4 1000", [&] { return with(flagged(base, S::kEthernetEnGat), S::kEthernetGat4, "1000"); },
       SettingsFailure{20, S::kEthernetGat4, 1154}},
      {"GAT4 1000 gateway on without port",
       [&] { return with(flagged(bare, S::kEthernetEnGat), S::kEthernetGat4, "1000"); }, std::nullopt},
  };
  for (const CheckCase& c : cases) {
    EXPECT_EQ(validate_settings(c.make()), c.failure) << c.name;
  }
}

TEST(SettingsValidation, TheFirstFailingCheckIsReported) {
  SettingsRecord r;
  r.set_number(S::kEthernetGat4, "x");
  r.set_flag(S::kEthernetEnGat, true);
  r.set_number(S::kEthernetIp3, "x");
  r.set_number(S::kIdDevCanopen, "x");
  EXPECT_EQ(validate_settings(r), (SettingsFailure{4, S::kIdDevCanopen, 1180}));
  r.set_number(S::kIdDevCanopen, "5");
  EXPECT_EQ(validate_settings(r), (SettingsFailure{11, S::kEthernetIp3, 1145}));
  r.set_number(S::kTimeOutData, "");
  EXPECT_EQ(validate_settings(r), (SettingsFailure{1, S::kTimeOutData, 1133}));
}

}  // namespace
}  // namespace brenvale
