// The two passes of a compile, each filling one form from the same table files. Internal to the
// compiler: callers use `Compiler`.
#pragma once

#include <array>
#include <cstddef>

#include "compiler/byte_pack.h"
#include "compiler/compile_clock.h"
#include "compiler/project_documents.h"
#include "project/result.h"

namespace brenvale {

// The tables whose size a form limits.
enum class CompiledTable {
  kReceiveFrames,
  kTransmitFrames,
  kSdoRead,
  kSdoWrite,
  kTransmitPdos,
  kReceivePdos,
  kNodeGuard,
  kNodeGuardFrames,
  kSdoClientFrames,
  kCount
};

// How many rows a table brought to a form, and how many the form can hold. Rows beyond the
// capacity are left out of the form and its counts.
struct TableFill {
  std::size_t rows = 0;
  std::size_t capacity = 0;
  bool overflows() const { return rows > capacity; }
  std::size_t held() const { return rows < capacity ? rows : capacity; }
};
using FormFill = std::array<TableFill, static_cast<std::size_t>(CompiledTable::kCount)>;

inline TableFill& fill_of(FormFill& fill, CompiledTable table) { return fill[static_cast<std::size_t>(table)]; }
inline const TableFill& fill_of(const FormFill& fill, CompiledTable table) {
  return fill[static_cast<std::size_t>(table)];
}

// Strict pass over the bank buffers. Writes its pre-sets and rows and leaves every other byte as
// it was. Fails on the first file that cannot be parsed or value that cannot be converted; bytes
// written before that point stay written.
Result<FormFill> run_bank_pass(ByteSpan bank1, ByteSpan bank2, ProjectDocuments& documents,
                               const LocalDateTime& when);

// Lenient pass that rebuilds the whole configuration image. Fails only when a file cannot be
// parsed (which the bank pass has reported already in a full compile).
Result<FormFill> run_image_pass(ByteSpan image, ProjectDocuments& documents);

// The object size of a size code: 0 gives 4 bytes, 1 gives 2 bytes, anything else 1 byte.
inline std::uint32_t object_size(std::int32_t size_code) {
  return size_code == 0 ? 4u : size_code == 1 ? 2u : 1u;
}

// A check-box cell: set when its text, in upper case, is "Y".
bool y_flag(pugi::xml_node row, const char* name);

}  // namespace brenvale
