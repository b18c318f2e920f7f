// Cross-table references by frame number. The transmit PDO and SDO read tables name receive
// frames, the receive PDO and SDO write tables name transmit frames, by position in the frame
// file counted from 1. Nothing renumbers them when frame rows move, so a reference can be left
// pointing at a frame that no longer exists; the compiler then leaves that row out of the
// configuration image without a word. This finds those rows for the user.
#pragma once

#include <string>
#include <vector>

#include "project/project_store.h"
#include "project/result.h"

namespace brenvale {

struct DanglingReference {
  std::string file;   // the referring table's file name, e.g. "TpdoJ1939.xml"
  int row = 0;        // its row, counted from 1
  std::string frame;  // the frame number it names (decimal), or its text when not a number
};

struct FrameReferenceReport {
  // Files that exist but cannot be parsed; their references are not examined.
  std::vector<Error> unreadable;
  std::vector<DanglingReference> dangling;
};

// Every reference to a frame that does not exist, in the order: transmit PDOs, SDO read objects
// (to receive frames), receive PDOs, SDO write objects (to transmit frames). A PDO row without a
// frame refers to none.
FrameReferenceReport find_dangling_frame_references(const ConfigFiles& files);

}  // namespace brenvale
