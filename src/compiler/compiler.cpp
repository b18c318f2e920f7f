#include "compiler/compiler.h"

#include <array>
#include <cstring>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/update_path.h"
#include "compiler/compile_passes.h"
#include "compiler/project_documents.h"
#include "project/atomic_file.h"

namespace brenvale {

namespace {

struct TableName {
  const char* name;
  const char* file;
  // In the configuration image only the rows that name an existing frame take a record.
  bool linked_in_image;
};

TableName table_name(CompiledTable table) {
  switch (table) {
    case CompiledTable::kReceiveFrames: return {"receive frame table", "RCobDef.xml", false};
    case CompiledTable::kTransmitFrames: return {"transmit frame table", "TCobDef.xml", false};
    case CompiledTable::kSdoRead: return {"SDO read table", "RInfoCob.xml", true};
    case CompiledTable::kSdoWrite: return {"SDO write table", "TInfoCob.xml", true};
    case CompiledTable::kTransmitPdos: return {"transmit PDO table", "TpdoJ1939.xml", true};
    case CompiledTable::kReceivePdos: return {"receive PDO table", "pdoJ1939.xml", true};
    case CompiledTable::kNodeGuard: return {"node-guarding table", "NodeGuard.xml", false};
    case CompiledTable::kNodeGuardFrames: return {"node-guarding frame table", "NG_J1939_Frame.xml", false};
    case CompiledTable::kSdoClientFrames: return {"SDO client frame table", "SDOClient.xml", false};
    case CompiledTable::kCount: break;
  }
  return {"table", "", false};
}

// Every table that does not fit the form the device receives, one line each.
Status check_capacities(const FormFill& fill, bool image_form) {
  std::string message;
  for (std::size_t i = 0; i < fill.size(); ++i) {
    const TableFill& table = fill[i];
    if (!table.overflows()) continue;
    const TableName name = table_name(static_cast<CompiledTable>(i));
    message += std::string("Cannot compile: the ") + name.name + " (" + name.file + ") has " +
               std::to_string(table.rows) + " rows";
    if (image_form && name.linked_in_image) message += " that refer to an existing frame";
    message += image_form ? ", but the configuration image of a device with Ethernet port holds at most "
                          : ", but the bank image of a device without Ethernet port holds at most ";
    message += std::to_string(table.capacity) + ".\n";
  }
  if (message.empty()) return ok_status();
  return Error{message + "No file was written."};
}

}  // namespace

Status run_passes(ByteSpan bank1, ByteSpan bank2, ByteSpan image, ProjectDocuments& documents,
                  const LocalDateTime& when, FormFill& bank_fill, FormFill& image_fill) {
  BankPass bank(bank1, bank2);
  ImagePass configuration(image);
  bank.begin();
  configuration.begin();
  for (const TableFile file : kBankPassOrder) {
    Result<const XmlDocument*> document = documents.get(file);
    if (!document) return document.error();
    if (Status done = bank.step(file, *document, documents.path(file)); !done) return done.error();
    // The image needs ParGen.xml before the node-guarding and SDO client files; every other file
    // is done with once both passes have read it, and its parse is freed at once.
    const bool needs_settings = file == TableFile::kNodeGuard || file == TableFile::kNodeGuardFrames ||
                                file == TableFile::kSdoClient;
    if (needs_settings) continue;
    configuration.step(file, *document);
    if (file != TableFile::kSettings) documents.release(file);
  }
  bank.stamp(when);
  for (const TableFile file : {TableFile::kNodeGuard, TableFile::kNodeGuardFrames, TableFile::kSdoClient}) {
    Result<const XmlDocument*> document = documents.get(file);
    if (!document) return document.error();
    configuration.step(file, *document);
  }
  configuration.finish();
  bank_fill = bank.fill();
  image_fill = configuration.fill();
  return ok_status();
}

Compiler::Compiler()
    : banks_(static_cast<std::size_t>(kWrittenBanks) * layout::kBankSize, 0) {}

ConstByteSpan Compiler::image() const {
  // Every compile builds its image aside, so none is kept before the first one succeeds.
  static const std::array<std::uint8_t, layout::kImageSize> kNoImage{};
  return image_.empty() ? ConstByteSpan(kNoImage) : ConstByteSpan(image_);
}

ConstByteSpan Compiler::bank(int number) const {
  if (number < 1 || number > layout::kBankCount) std::abort();
  // No pass writes banks 3 to 5: they are zero for the whole run, and share one zero block.
  static const std::array<std::uint8_t, layout::kBankSize> kUnwrittenBank{};
  if (number > kWrittenBanks) return ConstByteSpan(kUnwrittenBank);
  return ConstByteSpan(banks_).subspan(static_cast<std::size_t>(number - 1) * layout::kBankSize, layout::kBankSize);
}

ByteSpan Compiler::mutable_bank(int number) {
  if (number < 1 || number > kWrittenBanks) std::abort();
  return ByteSpan(banks_).subspan(static_cast<std::size_t>(number - 1) * layout::kBankSize, layout::kBankSize);
}

Status Compiler::compile(const ConfigFiles& files, const Clock& clock) {
  // The stamp is taken first so that an unusable clock stops the compile before any byte changes.
  Result<LocalDateTime> when = clock();
  if (!when) return when.error();

  // The image is built aside: a compile that fails leaves the previous image as it was, as if
  // its image pass had not run.
  std::vector<std::uint8_t> image(layout::kImageSize);
  ProjectDocuments documents(files);
  FormFill bank_fill{};
  FormFill image_fill{};
  const Status passes = run_passes(mutable_bank(1), mutable_bank(2), image, documents, *when, bank_fill, image_fill);
  if (!passes) return passes;

  // Only the form the device receives must hold every row; the other form is cut to its capacity.
  // ParGen.xml is still held from the passes; it is not read a second time.
  const Result<const XmlDocument*> settings = documents.get(TableFile::kSettings);
  const bool image_form = settings && takes_ethernet_update(*settings);
  if (Status fits = check_capacities(image_form ? image_fill : bank_fill, image_form); !fits) return fits;
  image_.swap(image);
  update_path_ = image_form ? UpdatePath::kEthernetUpdate : UpdatePath::kFirmwareFile;
  return ok_status();
}

std::string bank_dump_text(ConstByteSpan bank1, ConstByteSpan bank2) {
  // Line j of a bank's block shows its bytes 16 x j .. 16 x j + 15, each as " 0xHH,"; the first
  // line opens the array, the others start with 17 blanks, and the last byte closes it with "};".
  static constexpr char kHex[] = "0123456789ABCDEF";
  static constexpr std::size_t kBytesPerLine = 16;
  static constexpr std::string_view kIndent = "                 ";
  static_assert(kIndent.size() == 17);
  static constexpr std::string_view kHead = "#pragma CONST_SEG SEGMENT0\r\n";
  static constexpr std::string_view kTail = "#pragma CONST_SEG DEFAULT\r\n";
  static constexpr std::size_t kLineMax = 24 + 6 * kBytesPerLine + 4;
  // " 0xHH," of every byte value, padded to 8 bytes.
  static constexpr auto kCells = [] {
    std::array<std::array<char, 8>, 256> cells{};
    for (std::size_t b = 0; b < cells.size(); ++b) {
      cells[b] = {' ', '0', 'x', kHex[b >> 4], kHex[b & 0x0F], ',', '\0', '\0'};
    }
    return cells;
  }();

  std::string text(kHead.size() + kTail.size() + 2 * (layout::kBankSize / kBytesPerLine) * kLineMax + 8, '\0');
  char* out = text.data();
  const auto put = [&out](std::string_view piece) {
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  };
  put(kHead);
  const auto dump = [&](ConstByteSpan bank, std::string_view opening) {
    for (std::size_t at = 0; at < bank.size(); at += kBytesPerLine) {
      put(at == 0 ? opening : kIndent);
      for (std::size_t k = 0; k < kBytesPerLine; ++k) {
        // One 8-byte store per cell; its last two bytes are overwritten by what follows.
        std::memcpy(out, kCells[bank[at + k]].data(), 8);
        out += 6;
      }
      if (at + kBytesPerLine == bank.size()) {
        --out;  // the last byte closes the array instead of a comma; an empty line follows
        put("};\r\n\r\n");
      } else {
        put("\r\n");
      }
    }
  };
  dump(bank1, "const char Bank1 [] = {");
  dump(bank2, "const char Bank2 [] = {");
  put(kTail);
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

Status write_bank_files(const Compiler& compiler, const std::filesystem::path& bin_folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(bin_folder, ec)) {
    return Error{"The folder " + bin_folder.string() + " does not exist; no file was written."};
  }
  const auto as_text = [](ConstByteSpan bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  };

  // The seven files are replaced as one set: a file that cannot be written leaves every file as
  // it was, so that no update ever takes a mix of two compiles.
  std::vector<std::string> names;
  for (int n = 1; n <= layout::kBankCount; ++n) names.push_back("bank" + std::to_string(n) + ".bin");
  const std::string dump = bank_dump_text(compiler.bank(1), compiler.bank(2));
  std::vector<FileWrite> files;
  for (int n = 1; n <= layout::kBankCount; ++n) {
    files.push_back({bin_folder / names[static_cast<std::size_t>(n - 1)], as_text(compiler.bank(n))});
  }
  files.push_back({bin_folder / "bankg.c", dump});
  files.push_back({bin_folder / "bank.bin", as_text(compiler.image())});
  return write_files_atomic(files);
}

Result<UpdatePath> compile_and_write(Compiler& compiler, const ConfigFiles& files, const Clock& clock) {
  if (Status compiled = compiler.compile(files, clock); !compiled) return compiled.error();
  if (Status written = write_bank_files(compiler, files.bin()); !written) return written.error();
  return compiler.update_path();
}

}  // namespace brenvale
