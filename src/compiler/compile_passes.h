// The two passes of a compile, each filling one form from the same table files. Internal to the
// compiler: callers use `Compiler`.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>

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

// The bank pass reads the tables in this order and the image pass's table steps can follow it:
// each image step only needs tables that come before it here, except the node-guarding and SDO
// client steps, which need the enable settings of ParGen.xml.
inline constexpr TableFile kBankPassOrder[] = {
    TableFile::kReceiveFrames, TableFile::kTransmitFrames, TableFile::kSdoRead,         TableFile::kSdoWrite,
    TableFile::kReceivePdos,   TableFile::kTransmitPdos,   TableFile::kNodeGuard,       TableFile::kNodeGuardFrames,
    TableFile::kSdoClient,     TableFile::kSettings};

// Strict pass over the bank buffers. Writes its pre-sets and rows and leaves every other byte as
// it was. A step fails on the first value it cannot convert; bytes written before stay written.
class BankPass {
 public:
  BankPass(ByteSpan bank1, ByteSpan bank2);
  ~BankPass();
  BankPass(const BankPass&) = delete;
  BankPass& operator=(const BankPass&) = delete;

  // Pre-sets of the receive, SDO read and reserved ranges, at the start of every compile.
  void begin();
  // One table file (nullptr: the file does not exist), in kBankPassOrder.
  Status step(TableFile file, const XmlDocument* document, const std::filesystem::path& path);
  // The compile date and time, always.
  void stamp(const LocalDateTime& when);
  const FormFill& fill() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Lenient pass that rebuilds the whole configuration image; it never fails.
class ImagePass {
 public:
  explicit ImagePass(ByteSpan image);
  ~ImagePass();
  ImagePass(const ImagePass&) = delete;
  ImagePass& operator=(const ImagePass&) = delete;

  // Clears every table and resets the settings block to its defaults.
  void begin();
  // One table file (nullptr: the file does not exist). ParGen.xml must come before the
  // node-guarding and SDO client files; the others in kBankPassOrder.
  void step(TableFile file, const XmlDocument* document);
  // The settings block checksum, last.
  void finish();
  const FormFill& fill() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Both passes over the files of `documents`, each file parsed once: the bank pass first fails on
// a file that cannot be parsed or a value it cannot convert, in which case the image is left
// unspecified. On success `bank_fill` and `image_fill` say how many rows each form was offered.
Status run_passes(ByteSpan bank1, ByteSpan bank2, ByteSpan image, ProjectDocuments& documents,
                  const LocalDateTime& when, FormFill& bank_fill, FormFill& image_fill);

// Each pass on its own, reading the files in its own order.
Result<FormFill> run_bank_pass(ByteSpan bank1, ByteSpan bank2, ProjectDocuments& documents,
                               const LocalDateTime& when);
Result<FormFill> run_image_pass(ByteSpan image, ProjectDocuments& documents);

// The object size of a size code: 0 gives 4 bytes, 1 gives 2 bytes, anything else 1 byte.
inline std::uint32_t object_size(std::int32_t size_code) {
  return size_code == 0 ? 4u : size_code == 1 ? 2u : 1u;
}

// A check-box cell: set when its text, in upper case, is "Y".
bool y_flag(const RowAttributes& row, const char* name);

}  // namespace brenvale
