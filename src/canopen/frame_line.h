// One J1939 frame of the converter's fixed frame sets (SDO client requests and answers, the
// node-guarding state frames): priority and data page chosen from short lists, PGN and source
// address kept as the texts the user typed, and a free mnemonic. The compiler turns each line
// into a J1939 identifier word.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "project/xml_table.h"

namespace brenvale {

// The list position of a list that shows no choice: a file held a number outside the list.
inline constexpr int kNoChoice = -1;

inline constexpr int kPriorityChoices = 8;  // "0" ... "7"
inline constexpr int kMaxPgn = 65535;
inline constexpr int kMaxSourceAddress = 253;  // 254 and 255 are reserved on J1939

struct FrameLine {
  int priority = 0;   // position in the priority list, or kNoChoice
  int data_page = 0;  // position in the data page list, or kNoChoice
  std::string pgn;
  std::string sa;
  std::string mnemonic;

  bool operator==(const FrameLine&) const = default;
};

// The default of frame `number` (1 ... 5) of both frame sets: priority and data page 0,
// PGN "0x000n", SA "0x0n", no mnemonic.
FrameLine default_frame_line(int number);

// The list position that shows `value`, or kNoChoice when the list has no such entry.
int list_choice(int value, int list_size);

// The first `limit` child elements of `parent`, in document order (comments and text skipped).
std::vector<pugi::xml_node> child_elements(pugi::xml_node parent, std::size_t limit);

// Reads one frame row. `with_priority` says whether the row's `Priority` is read at all.
// Nothing when `Priority` (if read) or `DataPage` is missing or not an integer; the caller then
// uses the frame's defaults. A missing PGN, SA or Mnemonic gives an empty text.
std::optional<FrameLine> read_frame_line(pugi::xml_node row, bool with_priority, int data_page_choices);

// Appends the frame as a `row`: Priority, DataPage, PGN, SA, Mnemonic, in this order.
void add_frame_row(XmlWriter& writer, const FrameLine& frame, int stored_priority);

// The range checks every frame line must pass; a text that is not integer text fails.
bool pgn_in_range(const std::string& pgn);
bool source_address_in_range(const std::string& sa);

}  // namespace brenvale
