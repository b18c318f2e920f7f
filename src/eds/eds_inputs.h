// What the electronic data sheet takes from a configuration: a short summary of every receive
// and transmit PDO (COB-ID and length), and the manufacturer objects that the converter serves
// by SDO, grouped by object index.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "project/project_store.h"
#include "project/result.h"

namespace brenvale {

// At most this many PDOs of each direction are read from a PDO file; later rows are ignored.
inline constexpr std::size_t kMaxEdsPdos = 10;

struct PdoSummary {
  std::uint16_t cob_id = 0x201;
  std::uint8_t length = 8;  // 0...8
};

struct PdoSummaries {
  std::vector<PdoSummary> receive;   // from pdoJ1939.xml
  std::vector<PdoSummary> transmit;  // from TpdoJ1939.xml
};

// Size codes of a server SDO object, as its editor stores them.
inline constexpr std::uint8_t kSize4Bytes = 0;
inline constexpr std::uint8_t kSize2Bytes = 1;
inline constexpr std::uint8_t kSize1Byte = 2;

// One sub-index of a server SDO object.
struct SDO_Sub_Type {
  std::uint8_t Sub = 0;
  std::uint8_t Quantity = kSize4Bytes;  // size code
  bool Readonly = true;                 // false: the master may write it
  std::string Mnemonic;                 // always empty
};

// One object index of the server SDO objects with its sub-indices.
struct SDO_Index {
  std::uint16_t Index = 0;
  std::vector<SDO_Sub_Type> Sub_Indexs;
};

// Reads one PDO file: one summary per row, at most kMaxEdsPdos. A missing file gives an empty
// list. COB-ID and Dimension are integer texts; one that is not an integer counts as 0x201 and 8;
// only the low 16 and 8 bits count and a length above 8 is 8. A row without either attribute,
// or a file that is not well-formed, is an error naming the file (and row).
Result<std::vector<PdoSummary>> read_pdo_summaries(const std::filesystem::path& pdo_file);

// Reads both PDO files of a configuration.
Result<PdoSummaries> read_pdo_summaries(const ConfigFiles& files);

// Builds the server SDO object list from the read table file, then the write table file, in
// file order: a new SDO_Index for each index not seen yet, each row appended to its index.
// Objects of the read table are read-only, those of the write table read-write.
//
// One sub-index gives one entry, so that the data sheet never holds two sections of one name:
// when a row names an index and sub-index already listed, the entry stays where it is and is
// read-write unless both rows are read-only; when the two rows give different size codes the
// object has no single data type and the list is refused with a message naming both rows.
//
// Index, SubIndex and Dimension must be integer texts (only the low 16, 8 and 8 bits count); a
// missing or non-integer one, or a file that is not well-formed, is an error naming file and row.
// A missing file adds nothing.
Result<std::vector<SDO_Index>> read_server_sdo_objects(const std::filesystem::path& read_file,
                                                       const std::filesystem::path& write_file);

// Everything a data sheet takes from a configuration.
struct EdsInputs {
  PdoSummaries pdos;
  std::vector<SDO_Index> sdo_objects;
};

// The entries of every index sorted by sub-index, ascending.
void sort_by_sub_index(std::vector<SDO_Index>& objects);

}  // namespace brenvale
