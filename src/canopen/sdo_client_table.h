// The converter's SDO client: a request frame on J1939 asks the converter to read or write an
// object of a CANopen node, an answer frame returns the outcome. The five frames are fixed in
// number and role; the user gives each its data page, PGN and source address, and the two
// answers their priority (the converter receives the requests whatever their priority).
// Stored in SDOClient.xml of the configuration.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "canopen/frame_line.h"
#include "project/result.h"
#include "text/catalogue.h"

namespace brenvale {

inline constexpr const char* kSdoClientRoot = "J1939_Frames_SDOClient";

// The frames in file order.
enum class SdoClientFrame { ReadRequest, ReadAnswer, WriteRequest1, WriteRequest2, WriteAnswer, Count };
inline constexpr int kSdoClientFrameCount = static_cast<int>(SdoClientFrame::Count);

inline constexpr int kSdoDataPageChoices = 2;  // "0", "1"

// Only the answers carry a priority the user chooses; requests are stored with priority 0.
bool sdo_frame_has_priority(SdoClientFrame frame);

struct SdoClientTable {
  std::array<FrameLine, kSdoClientFrameCount> frames;

  FrameLine& operator[](SdoClientFrame f) { return frames[static_cast<std::size_t>(f)]; }
  const FrameLine& operator[](SdoClientFrame f) const { return frames[static_cast<std::size_t>(f)]; }
  bool operator==(const SdoClientTable&) const = default;
};

// What a new configuration shows: PGN "0x0001" ... "0x0005", SA "0x01" ... "0x05", lists at 0.
SdoClientTable default_sdo_client_table();

// A missing file gives the defaults. Otherwise the frames come from the first five child
// elements of the `J1939_Frames_SDOClient` element, each frame on its own: a frame whose row is
// missing or unreadable takes all its defaults, the others keep what was stored. An error only
// when the file cannot be read or is not well-formed (naming file, line and column).
Result<SdoClientTable> load_sdo_client_table(const std::filesystem::path& path);

// The first failing check: PGN then SA of frame 1, then of frame 2, ... `text_index` is the
// catalogue text to show.
struct SdoClientFailure {
  int frame;  // 1 ... 5
  int text_index;
  bool operator==(const SdoClientFailure&) const = default;
};
std::optional<SdoClientFailure> validate_sdo_client_table(const SdoClientTable& table);
std::string failure_text(const Catalogue& catalogue, const SdoClientFailure& failure);

// The file as written: five rows Priority, DataPage, PGN, SA, Mnemonic.
std::string sdo_client_xml(const SdoClientTable& table);
// Replaces the file as a whole; a failure leaves the old file intact.
Status save_sdo_client_table(const std::filesystem::path& path, const SdoClientTable& table);

}  // namespace brenvale
