// Small configurations for compiler tests, written in the table editors' file formats.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "support/temp_dir.h"

namespace brenvale::testing {

using Row = std::vector<std::pair<std::string, std::string>>;

// A row file: the root, one `row` per entry with the attributes in the order given, the comment.
inline std::string table_xml(const std::string& root, const std::vector<Row>& rows) {
  std::string text = "<" + root + ">";
  for (const Row& row : rows) {
    text += "<row";
    for (const auto& [name, value] : row) text += " " + name + "=\"" + value + "\"";
    text += "/>";
  }
  text += "</" + root + "><!--SW_VERSION = 2.001-->";
  return text;
}

// The 33 settings in file order, with the settings window's defaults.
inline std::vector<std::pair<std::string, std::string>> default_settings() {
  return {{"Select_Device", "Device Without Ethernet Port"},
          {"BaudRateCAN", "5"},
          {"CANType", "1"},
          {"TimeOut_Data", "10"},
          {"Peer_to_Peer", "0"},
          {"IDDev_J1939", "1"},
          {"Enable_Filter_FECA", "0"},
          {"Filter_FECA_Time", "50"},
          {"IDDev_CANopen", "1"},
          {"Baud_CANopen", "5"},
          {"Set_Ope_CANopen", "0"},
          {"Net_Start_CANopen", "0"},
          {"Delay_CANopen", "0"},
          {"Sent_TPDO", "1"},
          {"Sent_TPDO_Time", "1000"},
          {"NodeGuard", "0"},
          {"Send_NG_J1939", "0"},
          {"BG_Send_Every", "1000"},
          {"EN_SDO_Client", "0"},
          {"TO_SDO_Client", "10000"},
          {"Ethernet_IP1", "192"},
          {"Ethernet_IP2", "168"},
          {"Ethernet_IP3", "0"},
          {"Ethernet_IP4", "5"},
          {"Ethernet_SM1", "255"},
          {"Ethernet_SM2", "255"},
          {"Ethernet_SM3", "255"},
          {"Ethernet_SM4", "0"},
          {"Ethernet_GAT1", "192"},
          {"Ethernet_GAT2", "168"},
          {"Ethernet_GAT3", "0"},
          {"Ethernet_GAT4", "1"},
          {"Ethernet_EN_GAT", "0"}};
}

// ParGen.xml from the defaults with some settings changed; a value "<missing>" leaves the element out.
inline std::string par_gen_xml(const std::vector<std::pair<std::string, std::string>>& changes = {}) {
  std::vector<std::pair<std::string, std::string>> settings = default_settings();
  for (const auto& [name, value] : changes) {
    for (auto& setting : settings) {
      if (setting.first == name) setting.second = value;
    }
  }
  std::string text = "<Par_Gen>";
  for (const auto& [name, value] : settings) {
    if (value == "<missing>") continue;
    text += value.empty() ? "<" + name + "/>" : "<" + name + ">" + value + "</" + name + ">";
  }
  text += "</Par_Gen><!--SW_VERSION = 2.001-->";
  return text;
}

inline Row receive_frame(const std::string& pgn, const std::string& address, const std::string& multi = "N",
                         const std::string& start = "0", const std::string& bytes = "8",
                         const std::string& del = "N", const std::string& on_request = "N",
                         const std::string& time = "1000") {
  return {{"DP", "0"},       {"PGN", pgn},        {"ID_DEV", address},  {"MultiFrame", multi},
          {"StartByte", start}, {"NByte", bytes}, {"Delete", del},      {"OnRequest", on_request},
          {"OnReq_Time", time}, {"Mnemonic", "m"}};
}

inline Row transmit_frame(const std::string& priority, const std::string& dp, const std::string& pgn,
                          const std::string& address, const std::string& on_request = "N",
                          const std::string& data_change = "N", const std::string& on_timer = "N",
                          const std::string& time = "1000") {
  return {{"Priority", priority},     {"DP", dp},           {"PGN", pgn},          {"ID_DEV", address},
          {"NumByte", "8"},           {"OnRequest", on_request}, {"DataChange", data_change},
          {"OnTimer", on_timer},      {"OnTimer_Time", time}, {"Mnemonic", "m"}};
}

inline Row sdo_object(const std::string& frame, const std::string& index, const std::string& sub,
                      const std::string& size_code, const std::string& b1 = "1", const std::string& b2 = "0",
                      const std::string& b3 = "0", const std::string& b4 = "0") {
  return {{"NrPdo", frame}, {"Index", index}, {"SubIndex", sub}, {"Dimension", size_code},
          {"B1", b1},       {"B2", b2},       {"B3", b3},        {"B4", b4}};
}

inline Row with(Row row, const std::string& name, const std::string& value) {
  row.emplace_back(name, value);
  return row;
}

// The row with one attribute's value replaced.
inline Row set(Row row, const std::string& name, const std::string& value) {
  for (auto& attribute : row) {
    if (attribute.first == name) attribute.second = value;
  }
  return row;
}

inline Row node(const std::string& id, const std::string& guard_time, const std::string& factor) {
  return {{"NodeID", id}, {"GuardTime", guard_time}, {"LifeTimeFactor", factor}, {"Mnemonic", ""}};
}

inline Row frame_row(const std::string& priority, const std::string& dp, const std::string& pgn,
                     const std::string& sa) {
  return {{"Priority", priority}, {"DataPage", dp}, {"PGN", pgn}, {"SA", sa}, {"Mnemonic", ""}};
}

// A configuration folder with its bin folder.
class Project {
 public:
  Project() { std::filesystem::create_directories(dir_.path() / "bin"); }
  const std::filesystem::path& folder() const { return dir_.path(); }
  std::filesystem::path bin() const { return dir_.path() / "bin"; }
  void write(const std::string& name, const std::string& text) const { write_text(dir_ / name, text); }
  void remove(const std::string& name) const { std::filesystem::remove(dir_ / name); }

 private:
  TempDir dir_;
};

}  // namespace brenvale::testing

namespace brenvale::testing {

// 09:41:37 on 28 February 2025: date word 0xE119, time word 0x9529.
inline LocalDateTime stamp() { return LocalDateTime{2025, 2, 28, 9, 41, 37}; }

inline ConfigFiles files_of(const Project& project) { return ConfigFiles{project.folder()}; }

// A compile that must succeed, at the fixed stamp.
inline void compile_ok(Compiler& compiler, const Project& project) {
  const Status compiled = compiler.compile(files_of(project), fixed_clock(stamp()));
  ASSERT_TRUE(compiled.ok()) << compiled.error().message;
}

// Bytes of a form for comparisons: `count` bytes from `offset`.
inline std::vector<std::uint8_t> bytes(ConstByteSpan form, std::size_t offset, std::size_t count) {
  return std::vector<std::uint8_t>(form.begin() + static_cast<std::ptrdiff_t>(offset),
                                   form.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

inline bool all_bytes(ConstByteSpan form, std::size_t offset, std::size_t count, std::uint8_t value) {
  for (std::size_t i = offset; i < offset + count; ++i) {
    if (form[i] != value) return false;
  }
  return true;
}

// The settings block of the configuration image.
inline ConstByteSpan settings_block(const Compiler& compiler) { return compiler.image().subspan(0xF400, 2048); }

}  // namespace brenvale::testing
