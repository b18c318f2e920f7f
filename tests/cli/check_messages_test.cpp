// The first failing check of every table window, as `check` reports it: the catalogue text, the
// row number joined without separators, and the checks in the order the windows run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using testing::run_command;
using testing::TempDir;
using testing::write_text;

const std::string kComment = "<!--SW_VERSION = 2.001-->";
using Attributes = std::vector<std::pair<std::string, std::string>>;
using Overrides = std::map<std::string, std::string>;

std::string rows(const std::string& root, const std::vector<Attributes>& table) {
  std::string text = "<" + root + ">";
  for (const Attributes& row : table) {
    text += "<row";
    for (const auto& [name, value] : row) text += " " + name + "=\"" + value + "\"";
    text += "/>";
  }
  return text + "</" + root + ">" + kComment;
}

std::string par_gen(const std::string& device, const Overrides& changed = {}) {
  const std::vector<std::pair<std::string, std::string>> defaults = {
      {"Select_Device", device}, {"BaudRateCAN", "5"}, {"CANType", "1"}, {"TimeOut_Data", "10"},
      {"Peer_to_Peer", "0"}, {"IDDev_J1939", "1"}, {"Enable_Filter_FECA", "0"}, {"Filter_FECA_Time", "50"},
      {"IDDev_CANopen", "1"}, {"Baud_CANopen", "5"}, {"Set_Ope_CANopen", "0"}, {"Net_Start_CANopen", "0"},
      {"Delay_CANopen", "0"}, {"Sent_TPDO", "1"}, {"Sent_TPDO_Time", "1000"}, {"NodeGuard", "0"},
      {"Send_NG_J1939", "0"}, {"BG_Send_Every", "1000"}, {"EN_SDO_Client", "0"}, {"TO_SDO_Client", "10000"},
      {"Ethernet_IP1", "192"}, {"Ethernet_IP2", "168"}, {"Ethernet_IP3", "0"}, {"Ethernet_IP4", "5"},
      {"Ethernet_SM1", "255"}, {"Ethernet_SM2", "255"}, {"Ethernet_SM3", "255"}, {"Ethernet_SM4", "0"},
      {"Ethernet_GAT1", "192"}, {"Ethernet_GAT2", "168"}, {"Ethernet_GAT3", "0"}, {"Ethernet_GAT4", "1"},
      {"Ethernet_EN_GAT", "0"}};
  std::string text = "<Par_Gen>";
  for (const auto& [name, value] : defaults) {
    const auto over = changed.find(name);
    text += "<" + name + ">" + (over == changed.end() ? value : over->second) + "</" + name + ">";
  }
  return text + "</Par_Gen>" + kComment;
}
const std::string kWith = "Device With Ethernet Port";
const std::string kWithout = "Device Without Ethernet Port";

Attributes receive_frame(Overrides o = {}) {
  auto v = [&](const std::string& k, const std::string& d) { return o.count(k) ? o[k] : d; };
  return {{"DP", v("DP", "0")}, {"PGN", v("PGN", "65262")}, {"ID_DEV", "0"}, {"MultiFrame", v("MultiFrame", "N")},
          {"StartByte", v("StartByte", "0")}, {"NByte", v("NByte", "8")}, {"Delete", "N"},
          {"OnRequest", v("OnRequest", "N")}, {"OnReq_Time", v("OnReq_Time", "1000")}, {"Mnemonic", "m"}};
}

Attributes transmit_frame(Overrides o = {}) {
  auto v = [&](const std::string& k, const std::string& d) { return o.count(k) ? o[k] : d; };
  return {{"Priority", v("Priority", "6")}, {"DP", "0"}, {"PGN", v("PGN", "65262")}, {"ID_DEV", "0"},
          {"NumByte", "8"}, {"OnRequest", "N"}, {"DataChange", "N"}, {"OnTimer", v("OnTimer", "N")},
          {"OnTimer_Time", v("OnTimer_Time", "1000")}, {"Mnemonic", "m"}};
}

Attributes tpdo(Overrides o = {}) {
  auto v = [&](const std::string& k, const std::string& d) { return o.count(k) ? o[k] : d; };
  Attributes row = {{"COB-ID", v("COB-ID", "0x181")}, {"Dimension", v("Dimension", "1")}, {"Offset", v("Offset", "1")}};
  if (o.count("Frame_J1939")) row.push_back({"Frame_J1939", o["Frame_J1939"]});
  row.insert(row.end(), {{"DataChange", "Y"}, {"OnCAN", "N"}, {"OnTimer", v("OnTimer", "N")},
                         {"SendTimer", v("SendTimer", "0")}, {"Mnemonic", "m"}});
  return row;
}

Attributes rpdo(const std::string& dimension, const std::string& offset) {
  return {{"COB-ID", "0x201"}, {"Dimension", dimension}, {"Offset", offset}, {"Mnemonic", "m"}};
}

Attributes frame_line(const std::string& pgn, const std::string& sa) {
  return {{"Priority", "0"}, {"DataPage", "0"}, {"PGN", pgn}, {"SA", sa}, {"Mnemonic", ""}};
}

Attributes node(const std::string& id, const std::string& guard, const std::string& factor) {
  return {{"NodeID", id}, {"GuardTime", guard}, {"LifeTimeFactor", factor}, {"Mnemonic", ""}};
}

struct Case {
  const char* name;
  std::map<std::string, std::string> files;
  std::string expected;  // the whole output of `check`; empty when every table passes
};

std::vector<Case> cases() {
  const Attributes ok_frame = frame_line("0x0001", "0x01");
  const Attributes bad_sa = frame_line("0x0001", "254");
  return {
      {"settings: J1939 address with port",
       {{"ParGen.xml", par_gen(kWith, {{"IDDev_J1939", "240"}})}},
       "ParGen.xml: Error J1939!! ID Device must between 0 and 239 seconds\n"},
      {"settings: FECA time checked with the filter off",
       {{"ParGen.xml", par_gen(kWith, {{"Filter_FECA_Time", "0"}})}},
       "ParGen.xml: Error J1939!! Filter FECA Time must between 1 and 100000 milliseconds\n"},
      {"settings: empty timeout counts as -1",
       {{"ParGen.xml", par_gen(kWith, {{"TimeOut_Data", ""}})}},
       "ParGen.xml: Error J1939!! TimeOut Data must between 0 and 255 seconds\n"},
      {"settings: hidden IP byte without port", {{"ParGen.xml", par_gen(kWithout, {{"Ethernet_IP1", "300"}})}}, ""},
      {"settings: TPDO time on timer without port",
       {{"ParGen.xml", par_gen(kWithout, {{"Sent_TPDO", "0"}, {"Sent_TPDO_Time", "0"}})}},
       "ParGen.xml: Error CANopen!! TPDO Send Time must be between 1 and 60000 ms\n"},
      {"settings: a device text that is neither variant counts as without port",
       {{"ParGen.xml", par_gen(kWith + " ", {{"IDDev_J1939", "999"}, {"Sent_TPDO", "0"}, {"Sent_TPDO_Time", "0"}})}},
       "ParGen.xml: Error CANopen!! TPDO Send Time must be between 1 and 60000 ms\n"},
      {"settings: node-guarding time only when sent on J1939",
       {{"ParGen.xml", par_gen(kWith, {{"NodeGuard", "1"}, {"BG_Send_Every", "0"}, {"Delay_CANopen", "999"}})}},
       ""},
      {"settings: SDO client timeout",
       {{"ParGen.xml", par_gen(kWith, {{"EN_SDO_Client", "1"}, {"TO_SDO_Client", "100001"}})}},
       "ParGen.xml: Error CANopen!! SDO Client TimeOut must be between 0 and 100000\n"},
      {"settings: gateway byte",
       {{"ParGen.xml", par_gen(kWith, {{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT3", "256"}})}},
       "ParGen.xml: Error Ethernet!! Gateway 3 must between 0 and 255\n"},
      {"settings: hexadecimal numbers", {{"ParGen.xml", par_gen(kWith, {{"IDDev_CANopen", "$7F"}, {"TimeOut_Data", "0xFF"}})}}, ""},

      {"receive frames: start plus bytes",
       {{"RCobDef.xml", rows("COBID", {receive_frame(), receive_frame({{"MultiFrame", "Y"}, {"StartByte", "1"}, {"NByte", "1785"}})})}},
       "RCobDef.xml: Error in row 2!! Start Byte plus Number Bytes must be between 0 and 1785\n"},
      {"receive frames: total above 2000 bytes",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"MultiFrame", "Y"}, {"NByte", "1000"}}),
                                      receive_frame({{"MultiFrame", "Y"}, {"NByte", "1001"}})})}},
       "RCobDef.xml: Error in row 2!! The Configuration use more of 2000 bytes\n"},
      {"receive frames: request time 1",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"OnRequest", "Y"}, {"OnReq_Time", "1"}})})}},
       "RCobDef.xml: Error in row 1!! Time(ms) must be between 0 and 10000000\n"},
      {"receive frames: blank data page with port",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"DP", " "}})})}},
       "RCobDef.xml: Error in row 1!! DataPage must be 0 or 1\n"},
      {"receive frames: hidden columns are not checked without port",
       {{"ParGen.xml", par_gen(kWithout)},
        {"RCobDef.xml", rows("COBID", {receive_frame({{"DP", ""}, {"OnRequest", "Y"}, {"OnReq_Time", "1"},
                                                      {"MultiFrame", "Y"}, {"NByte", "0"}})})}},
       ""},

      {"transmit frames: timer checked although hidden",
       {{"ParGen.xml", par_gen(kWithout)},
        {"TCobDef.xml", rows("COBID", {transmit_frame({{"OnTimer", "Y"}, {"OnTimer_Time", "0"}})})}},
       "TCobDef.xml: Error in row 1!! Time(ms) must be between 0 and 10000000ms\n"},
      {"transmit frames: PGN 131072",
       {{"TCobDef.xml", rows("COBID", {transmit_frame(), transmit_frame({{"PGN", "131072"}})})}},
       "TCobDef.xml: Error in row 2!! PGN must be between 0x00000 and 0x1FFFF\n"},
      {"transmit frames: priority 8",
       {{"TCobDef.xml", rows("COBID", {transmit_frame({{"Priority", "8"}})})}},
       "TCobDef.xml: Error in row 1!! Priority must be between 0 and 7\n"},

      {"transmit PDOs: start byte names the frame length",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"MultiFrame", "Y"}, {"NByte", "20"}})})},
        {"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"Frame_J1939", "1"}, {"Offset", "21"}})})}},
       "TpdoJ1939.xml: Error in row 1!! Start Byte must be between 1 and 20\n"},
      {"transmit PDOs: dimension past the frame",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"MultiFrame", "Y"}, {"NByte", "20"}})})},
        {"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"Frame_J1939", "1"}, {"Offset", "18"}, {"Dimension", "4"}})})}},
       "TpdoJ1939.xml: Error in row 1!! Dimension and Start Byte are not correct together\n"},
      {"transmit PDOs: lower-case multi-frame flag gives 8 bytes",
       {{"RCobDef.xml", rows("COBID", {receive_frame({{"MultiFrame", "y"}, {"NByte", "20"}})})},
        {"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"Frame_J1939", "1"}, {"Offset", "9"}})})}},
       "TpdoJ1939.xml: Error in row 1!! Start Byte must be between 1 and 8\n"},
      {"transmit PDOs: send timer with a lower-case y",
       {{"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"OnTimer", "y"}, {"SendTimer", "0"}})})}},
       "TpdoJ1939.xml: Error in row 1!! Send Timer must be between 1 and 1000000 ms\n"},
      {"transmit PDOs: send timer hidden without port",
       {{"ParGen.xml", par_gen(kWithout)}, {"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"OnTimer", "Y"}, {"SendTimer", "0"}})})}},
       ""},
      {"transmit PDOs: COB-ID texts",
       {{"TpdoJ1939.xml", rows("PDOJ1939", {tpdo({{"COB-ID", "0x7FF"}}), tpdo({{"COB-ID", "$7FF"}}), tpdo({{"COB-ID", " 2047"}}),
                                           tpdo({{"COB-ID", "12 "}})})}},
       "TpdoJ1939.xml: Error in row 4!! COB-ID must be between 0x000 and 0x7FF\n"},

      {"receive PDOs: dimension and start byte",
       {{"pdoJ1939.xml", rows("Define_RPDO", {rpdo("8", "1"), rpdo("8", "2")})}},
       "pdoJ1939.xml: Error in row 2!! Dimension and Start Byte are not correct together\n"},
      {"receive PDOs: start byte 9", {{"pdoJ1939.xml", rows("Define_RPDO", {rpdo("1", "9")})}},
       "pdoJ1939.xml: Error in row 1!! Start Byte must be between 1 and 8\n"},

      {"SDO client: third frame's address",
       {{"SDOClient.xml", rows("J1939_Frames_SDOClient", {ok_frame, ok_frame, bad_sa, ok_frame, ok_frame})}},
       "SDOClient.xml: Error in Request SDO Write (1/2)!! Source Address must be between 0 and 253\n"},
      {"SDO client: PGN that is no number",
       {{"SDOClient.xml", rows("J1939_Frames_SDOClient", {frame_line("abc", "1"), ok_frame, ok_frame, ok_frame, ok_frame})}},
       "SDOClient.xml: Error in Request SDO Read!! PGN must be between 0x0000 and 0xFFFF\n"},

      {"node guarding: node row before any frame",
       {{"NodeGuard.xml", rows("Node_Guarding", {node("1", "100", "3"), node("128", "100", "3")})},
        {"NG_J1939_Frame.xml", rows("NG_J1939_Frames", {bad_sa, bad_sa, bad_sa, bad_sa, bad_sa})}},
       "NodeGuard.xml: Error in row 2!! Node ID must be between 1 and 127\n"},
      {"node guarding: life time factor 256",
       {{"NodeGuard.xml", rows("Node_Guarding", {node("1", "1", "255"), node("1", "1", "256")})}},
       "NodeGuard.xml: Error in row 2!! Life Time Factor must be between 1 and 255\n"},
      {"node guarding: fifth frame's address",
       {{"NG_J1939_Frame.xml", rows("NG_J1939_Frames", {ok_frame, ok_frame, ok_frame, ok_frame, bad_sa})}},
       "NodeGuard.xml: Error in Frame J1939 5. Source Address must be between 0 and 253\n"},
  };
}

TEST(CliCheck, FirstFailingCheckOfEveryWindow) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    TempDir project;
    std::filesystem::create_directory(project / "bin");
    for (const auto& [name, text] : c.files) write_text(project / name, text);
    const auto result = run_command(std::string(BRENVALE_CLI) + " check " + project.path().string());
    EXPECT_EQ(result.out, c.expected);
    EXPECT_EQ(result.exit_code, c.expected.empty() ? 0 : 1);
  }
}

}  // namespace
}  // namespace brenvale
