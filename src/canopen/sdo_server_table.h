// The SDO server tables: manufacturer-specific objects (index 0x2000…0x5FFF) that a CANopen
// master reads or writes by SDO, each tied to bytes of one J1939 frame. The read table
// (RInfoCob.xml) takes values from receive frames, the write table (TInfoCob.xml) puts them into
// transmit frames and may make the converter send the frame at once. Objects are kept per frame;
// the file ties them to their frame by its position in the frames file (NrPdo).
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "project/result.h"

namespace brenvale {

enum class SdoVariant { kRead, kWrite };

// Size codes: positions in the size chooser.
inline constexpr std::array<const char*, 3> kSdoSizeChoices = {"4 Bytes", "2 Bytes", "1 Bytes"};
inline constexpr std::array<const char*, 2> kSendOnWriteChoices = {"False", "True"};

struct TSDO {
  std::string index;      // as typed
  std::string sub_index;  // as typed
  int dimension = 0;      // 0 = 4 bytes, 1 = 2 bytes, 2 = 1 byte
  std::array<int, 4> bytes{};  // 0 = none, k = byte k of the frame counted from 1; MSB first
  int send_on_write = 0;  // write table only

  bool operator==(const TSDO&) const = default;
};

struct TJ1939_Frame {
  std::string data_page;
  std::string pgn;
  std::string source_address;
  int num_byte = 8;  // frame data length
  std::vector<TSDO> objects;
};

// Catalogue indices of one variant's texts.
struct SdoTexts {
  int title, description, frames_desc1, frames_desc2, objects_desc1, objects_desc2, editor_desc;
  int index_label, sub_index_label, size_label;
  std::array<int, 4> byte_labels;
  int send_on_write_label;  // write table only (0 otherwise)
  int create, modify, remove, copy, paste, ok, cancel;
  int index_error, sub_index_error, used_error;
};
const SdoTexts& sdo_texts(SdoVariant variant);

// The list lines: a frame as DP, tab, PGN, tab, source address; an object as
// "Index : 0x2000; Sub : 1;".
std::string sdo_frame_line(const TJ1939_Frame& frame);
std::string sdo_object_line(const TSDO& object);

// The entries of a byte chooser for a frame of `length` bytes: "None", "Byte 1" … "Byte length".
// A transport-protocol message carries at most 1785 bytes, so a longer NByte from a hand-edited
// frames file offers no more than that (rather than building millions of entries).
std::vector<std::string> sdo_byte_choices(int length);

// Which byte choosers the size allows; the others are disabled and hold "None".
std::array<bool, 4> sdo_bytes_enabled(int dimension);
// The editor after a size change: bytes the size does not use return to none.
TSDO apply_sdo_size_rule(TSDO object);

// One copied object per window, empty texts and 0 codes until the first Copy; it lives as long
// as the window, which is the whole run.
class SdoClipboard {
 public:
  void copy(const TSDO& object) { object_ = object; }
  const TSDO& paste() const { return object_; }

 private:
  TSDO object_;
};

class SdoServerTable {
 public:
  explicit SdoServerTable(SdoVariant variant) : variant_(variant) {}

  // Frames from the frames file (RCobDef.xml / TCobDef.xml), then the objects of the object file
  // appended to the frame that their NrPdo names; rows naming no frame are dropped. Without
  // frames the object file is not read.
  static Result<SdoServerTable> open(SdoVariant variant, const std::filesystem::path& frames_file,
                                     const std::filesystem::path& object_file);

  SdoVariant variant() const { return variant_; }
  const std::vector<TJ1939_Frame>& frames() const { return frames_; }
  std::vector<TJ1939_Frame>& frames() { return frames_; }

  // The checks of Create and Modify (frame and position counted from 0): the catalogue index of
  // the first failing one. `modifying` is the object that may keep its own index and sub-index.
  std::optional<int> check(const TSDO& editor, std::optional<std::pair<int, int>> modifying) const;
  // Appends the editor's object to frame `frame`; nothing changes on a failed check.
  std::optional<int> create(int frame, const TSDO& editor);
  std::optional<int> modify(int frame, int position, const TSDO& editor);
  void remove(int frame, int position);

  std::string file_text() const;
  Status save(const std::filesystem::path& object_file) const;

 private:
  SdoVariant variant_;
  std::vector<TJ1939_Frame> frames_;
};

}  // namespace brenvale
