// The converter's communication settings of one configuration, kept in ParGen.xml: the hardware
// variant, the J1939 side, the CANopen side and the Ethernet side, one element per setting.
// Every setting is described once in `kSettingDescriptors`; the reader, the writer and the
// settings window all go through that table.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "project/result.h"

namespace brenvale {

// The settings in the order their elements stand in the file.
enum class Setting {
  kSelectDevice,
  kBaudRateCan,
  kCanType,
  kTimeOutData,
  kPeerToPeer,
  kIdDevJ1939,
  kEnableFilterFeca,
  kFilterFecaTime,
  kIdDevCanopen,
  kBaudCanopen,
  kSetOpeCanopen,
  kNetStartCanopen,
  kDelayCanopen,
  kSentTpdo,
  kSentTpdoTime,
  kNodeGuard,
  kSendNgJ1939,
  kBgSendEvery,
  kEnSdoClient,
  kToSdoClient,
  kEthernetIp1,
  kEthernetIp2,
  kEthernetIp3,
  kEthernetIp4,
  kEthernetSm1,
  kEthernetSm2,
  kEthernetSm3,
  kEthernetSm4,
  kEthernetGat1,
  kEthernetGat2,
  kEthernetGat3,
  kEthernetGat4,
  kEthernetEnGat,
  kCount
};

inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(Setting::kCount);

enum class SettingKind {
  kVariant,   // the hardware variant text
  kIndex,     // position in a fixed list, "-1" when nothing is chosen
  kFlag,      // "1" on, anything else off
  kConstant,  // written as its default, never read
  kNumber,    // the text as typed; checked only when the window is confirmed
};

struct SettingDescriptor {
  Setting setting;
  const char* element;
  SettingKind kind;
  // The value the settings window gives a setting whose element is missing; for an index its
  // list position, for a flag "1" or "0"; for the variant the one a configuration without
  // ParGen.xml shows.
  const char* window_default;
  // Entries of the list an index points into.
  int list_size = 0;
};

// The bit-rate list shared by the J1939 and CANopen bit rates; the CANopen list has a tenth,
// empty entry after these.
inline constexpr std::array<const char*, 9> kBitRateTexts = {"10K",  "20K",  "50K",  "100K", "125K",
                                                             "250K", "500K", "800K", "1000K"};

extern const std::array<SettingDescriptor, kSettingCount> kSettingDescriptors;

inline const SettingDescriptor& descriptor_of(Setting s) { return kSettingDescriptors[static_cast<std::size_t>(s)]; }

enum class HardwareVariant { kWithoutPort, kWithPort };

const char* variant_text(HardwareVariant variant);

// One settings record as the settings window holds it. Indices are list positions (-1: none),
// flags are booleans, numbers are the texts as typed. A record starts at the window defaults
// with the variant with Ethernet port, which is what a configuration without ParGen.xml shows.
class SettingsRecord {
 public:
  SettingsRecord();

  HardwareVariant variant() const { return variant_; }
  void set_variant(HardwareVariant v) { variant_ = v; }
  bool with_port() const { return variant_ == HardwareVariant::kWithPort; }

  int index(Setting s) const;
  void set_index(Setting s, int position);
  bool flag(Setting s) const;
  void set_flag(Setting s, bool on);
  const std::string& number(Setting s) const;
  void set_number(Setting s, std::string text);

  // The text the writer stores for a setting.
  std::string stored_text(Setting s) const;

  // TPDO send method: "1" On Data Change, "0" On Timer.
  bool tpdo_on_data_change() const { return flag(Setting::kSentTpdo); }

  bool operator==(const SettingsRecord&) const = default;

 private:
  HardwareVariant variant_;
  std::array<int, kSettingCount> choices_{};        // index and flag settings
  std::array<std::string, kSettingCount> numbers_;  // number settings
};

// Reads ParGen.xml the way the settings window does. A missing file gives the window defaults
// with the variant with Ethernet port; a missing or unusable element gives that setting's
// default alone. A file that cannot be read or is not well-formed gives an error naming the
// file, and the line and column where the parser stopped.
Result<SettingsRecord> load_settings(const std::filesystem::path& par_gen_file);

// The file as the writer lays it out: root Par_Gen with all 33 elements in order, then the
// version comment.
std::string settings_file_text(const SettingsRecord& record);

// Replaces ParGen.xml as a whole; a failed write leaves the old file as it was.
Status save_settings(const std::filesystem::path& par_gen_file, const SettingsRecord& record);

}  // namespace brenvale
