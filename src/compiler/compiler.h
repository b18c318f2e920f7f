// The configuration compiler: turns a configuration's table files into the two forms the
// converter can receive, the configuration image (device with Ethernet port) and the bank image
// (firmware file of the device without), and writes them into the configuration's bin folder.
//
// One Compiler lives for the whole program run. Its five bank buffers start zero-filled and are
// reused by every compile, which writes only its pre-sets and rows into them; the configuration
// image is rebuilt completely at every compile.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/byte_pack.h"
#include "compiler/compile_clock.h"
#include "compiler/layout.h"
#include "project/project_store.h"
#include "project/result.h"

namespace brenvale {

// The update that follows a successful compile.
enum class UpdatePath {
  kEthernetUpdate,  // the update window sends bank.bin to the device
  kFirmwareFile,    // banks 1 and 2 are merged into the firmware file
};

class Compiler {
 public:
  Compiler();

  // Bank pass, then image pass, over the files of `files`, each file parsed once. Fails with the
  // first file that cannot be parsed or strict value that cannot be converted (bank bytes written
  // up to that point stay written, the image stays as it was), or when a table does not fit the
  // form this configuration's update takes; rows beyond the capacity of the other form are left
  // out of it.
  Status compile(const ConfigFiles& files, const Clock& clock);

  // Bank 1..5, 16384 bytes each.
  ConstByteSpan bank(int number) const;
  // The configuration image, 65280 bytes (all zero before the first compile).
  ConstByteSpan image() const;
  // The update path of the configuration last compiled (the update-path test on its ParGen.xml).
  UpdatePath update_path() const { return update_path_; }

 private:
  ByteSpan mutable_bank(int number);

  // Banks 1 and 2, the only ones the passes write.
  static constexpr int kWrittenBanks = 2;
  std::vector<std::uint8_t> banks_;
  std::vector<std::uint8_t> image_;  // empty until a compile succeeds
  UpdatePath update_path_ = UpdatePath::kFirmwareFile;
};

// The text of bin/bankg.c: banks 1 and 2 as C arrays, 2052 lines each ending in CR LF.
std::string bank_dump_text(ConstByteSpan bank1, ConstByteSpan bank2);

// Writes bank1.bin .. bank5.bin, bankg.c and bank.bin into `bin_folder`, in this order, each
// replaced whole. A missing bin folder is an error and nothing is written (it is not created).
// Every file that cannot be written is named in the error.
Status write_bank_files(const Compiler& compiler, const std::filesystem::path& bin_folder);

// The Update Device step up to the update: compile, write the seven files, then the update-path
// test. An error stops the step before any update window opens.
Result<UpdatePath> compile_and_write(Compiler& compiler, const ConfigFiles& files, const Clock& clock);

}  // namespace brenvale
