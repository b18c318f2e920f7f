#include "settings/settings_record.h"

#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "settings/ethernet_port.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr const char* kRootElement = "Par_Gen";
constexpr int kJ1939BitRates = 9;
constexpr int kCanopenBitRates = 10;  // the bit-rate list and its empty tenth entry

using K = SettingKind;
using S = Setting;

std::size_t at(Setting s) { return static_cast<std::size_t>(s); }

// The value of one setting from its element text; nothing when the element is missing.
int choice_from_text(const SettingDescriptor& d, const std::optional<std::string>& text) {
  if (d.kind == K::kFlag) return (text ? *text : std::string(d.window_default)) == "1" ? 1 : 0;
  // Index: a text that is not an integer gives the default position; an integer outside the
  // list leaves nothing chosen.
  const int fallback = parse_int_or(d.window_default, -1);
  const int position = text ? parse_int_or(*text, fallback) : fallback;
  return position >= 0 && position < d.list_size ? position : -1;
}

// The window's variant for a Select_Device text: a text that is neither variant counts as the
// variant without port.
HardwareVariant variant_of(std::string_view text) {
  return device_text_port(text) == EthernetPort::kWithPort ? HardwareVariant::kWithPort
                                                           : HardwareVariant::kWithoutPort;
}

}  // namespace

const std::array<SettingDescriptor, kSettingCount> kSettingDescriptors = {{
    {S::kSelectDevice, "Select_Device", K::kVariant, kDeviceWithPort},
    {S::kBaudRateCan, "BaudRateCAN", K::kIndex, "5", kJ1939BitRates},
    {S::kCanType, "CANType", K::kConstant, "1"},  // CAN 2.0B, 29-bit identifiers
    {S::kTimeOutData, "TimeOut_Data", K::kNumber, "10"},
    {S::kPeerToPeer, "Peer_to_Peer", K::kFlag, "0"},
    {S::kIdDevJ1939, "IDDev_J1939", K::kNumber, "1"},
    {S::kEnableFilterFeca, "Enable_Filter_FECA", K::kFlag, "0"},
    {S::kFilterFecaTime, "Filter_FECA_Time", K::kNumber, "50"},
    {S::kIdDevCanopen, "IDDev_CANopen", K::kNumber, "1"},
    {S::kBaudCanopen, "Baud_CANopen", K::kIndex, "5", kCanopenBitRates},
    {S::kSetOpeCanopen, "Set_Ope_CANopen", K::kFlag, "0"},
    {S::kNetStartCanopen, "Net_Start_CANopen", K::kFlag, "0"},
    {S::kDelayCanopen, "Delay_CANopen", K::kNumber, "0"},
    {S::kSentTpdo, "Sent_TPDO", K::kFlag, "1"},  // "1" On Data Change, "0" On Timer
    {S::kSentTpdoTime, "Sent_TPDO_Time", K::kNumber, "1000"},
    {S::kNodeGuard, "NodeGuard", K::kFlag, "0"},
    {S::kSendNgJ1939, "Send_NG_J1939", K::kFlag, "0"},
    {S::kBgSendEvery, "BG_Send_Every", K::kNumber, "1000"},
    {S::kEnSdoClient, "EN_SDO_Client", K::kFlag, "0"},
    {S::kToSdoClient, "TO_SDO_Client", K::kNumber, "10000"},  // tenths of a millisecond
    {S::kEthernetIp1, "Ethernet_IP1", K::kNumber, "192"},
    {S::kEthernetIp2, "Ethernet_IP2", K::kNumber, "168"},
    {S::kEthernetIp3, "Ethernet_IP3", K::kNumber, "0"},
    {S::kEthernetIp4, "Ethernet_IP4", K::kNumber, "5"},
    {S::kEthernetSm1, "Ethernet_SM1", K::kNumber, "255"},
    {S::kEthernetSm2, "Ethernet_SM2", K::kNumber, "255"},
    {S::kEthernetSm3, "Ethernet_SM3", K::kNumber, "255"},
    {S::kEthernetSm4, "Ethernet_SM4", K::kNumber, "0"},
    {S::kEthernetGat1, "Ethernet_GAT1", K::kNumber, "192"},
    {S::kEthernetGat2, "Ethernet_GAT2", K::kNumber, "168"},
    {S::kEthernetGat3, "Ethernet_GAT3", K::kNumber, "0"},
    {S::kEthernetGat4, "Ethernet_GAT4", K::kNumber, "1"},
    {S::kEthernetEnGat, "Ethernet_EN_GAT", K::kFlag, "0"},
}};

const char* variant_text(HardwareVariant variant) {
  return variant == HardwareVariant::kWithPort ? kDeviceWithPort : kDeviceWithoutPort;
}

SettingsRecord::SettingsRecord() {
  for (const SettingDescriptor& d : kSettingDescriptors) {
    if (d.kind == K::kVariant) variant_ = variant_of(d.window_default);
    if (d.kind == K::kIndex || d.kind == K::kFlag) choices_[at(d.setting)] = choice_from_text(d, std::nullopt);
    if (d.kind == K::kNumber) numbers_[at(d.setting)] = d.window_default;
  }
}

int SettingsRecord::index(Setting s) const { return choices_[at(s)]; }

void SettingsRecord::set_index(Setting s, int position) {
  const int size = descriptor_of(s).list_size;
  choices_[at(s)] = position >= 0 && position < size ? position : -1;
}

bool SettingsRecord::flag(Setting s) const { return choices_[at(s)] != 0; }

void SettingsRecord::set_flag(Setting s, bool on) { choices_[at(s)] = on ? 1 : 0; }

const std::string& SettingsRecord::number(Setting s) const { return numbers_[at(s)]; }

void SettingsRecord::set_number(Setting s, std::string text) { numbers_[at(s)] = std::move(text); }

std::string SettingsRecord::stored_text(Setting s) const {
  const SettingDescriptor& d = descriptor_of(s);
  switch (d.kind) {
    case K::kVariant:
      return variant_text(variant_);
    case K::kIndex:
      return std::to_string(index(s));
    case K::kFlag:
      return flag(s) ? "1" : "0";
    case K::kConstant:
      return d.window_default;
    case K::kNumber:
      return number(s);
  }
  return {};
}

Result<SettingsRecord> load_settings(const std::filesystem::path& par_gen_file) {
  SettingsRecord record;
  std::error_code ec;
  const bool exists = std::filesystem::exists(par_gen_file, ec);
  if (ec) return Error{par_gen_file.string() + ": cannot be read (" + ec.message() + ")"};
  if (!exists) return record;

  Result<XmlDocument> document = load_xml_file(par_gen_file);
  if (!document) return document.error();
  const pugi::xml_node root = document->root();

  for (const SettingDescriptor& d : kSettingDescriptors) {
    const std::optional<std::string> text = child_text(root, d.element);
    switch (d.kind) {
      case K::kVariant:
        // A missing element or a text that is neither variant: the variant without port.
        record.set_variant(text ? variant_of(*text) : HardwareVariant::kWithoutPort);
        break;
      case K::kIndex:
        record.set_index(d.setting, choice_from_text(d, text));
        break;
      case K::kFlag:
        record.set_flag(d.setting, choice_from_text(d, text) != 0);
        break;
      case K::kConstant:
        break;
      case K::kNumber:
        if (text) record.set_number(d.setting, *text);
        break;
    }
  }
  return record;
}

std::string settings_file_text(const SettingsRecord& record) {
  XmlWriter writer(kRootElement);
  for (const SettingDescriptor& d : kSettingDescriptors) {
    writer.add_text_element(writer.root(), d.element, record.stored_text(d.setting));
  }
  return writer.text();
}

Status save_settings(const std::filesystem::path& par_gen_file, const SettingsRecord& record) {
  return write_file_atomic(par_gen_file, settings_file_text(record));
}

}  // namespace brenvale
