// The ten table files of a configuration as the compiler reads them. Each file is parsed at most
// once, on first use, so that the bank pass meets a file that cannot be parsed at the step that
// reads it, and the image pass reads the same document again without a second parse. Both passes
// only read, so sharing the parse gives what each pass would get reading the file on its own.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "project/project_store.h"
#include "project/result.h"
#include "project/xml_table.h"

namespace brenvale {

enum class TableFile {
  kSettings,         // ParGen.xml
  kReceiveFrames,    // RCobDef.xml
  kTransmitFrames,   // TCobDef.xml
  kSdoRead,          // RInfoCob.xml
  kSdoWrite,         // TInfoCob.xml
  kTransmitPdos,     // TpdoJ1939.xml
  kReceivePdos,      // pdoJ1939.xml
  kNodeGuard,        // NodeGuard.xml
  kNodeGuardFrames,  // NG_J1939_Frame.xml
  kSdoClient,        // SDOClient.xml
  kCount
};

std::filesystem::path table_file_path(const ConfigFiles& files, TableFile which);

class ProjectDocuments {
 public:
  explicit ProjectDocuments(ConfigFiles files) : files_(std::move(files)) {}

  // The parsed file; nullptr when the file does not exist; an error naming the file, line and
  // column when it exists but cannot be read or parsed (the same error on every call).
  Result<const XmlDocument*> get(TableFile which);
  // Frees a parsed file that no step needs any more; a later get() parses it again.
  void release(TableFile which) { slots_[static_cast<std::size_t>(which)] = Slot{}; }
  std::filesystem::path path(TableFile which) const { return table_file_path(files_, which); }
  const ConfigFiles& files() const { return files_; }

 private:
  struct Slot {
    bool loaded = false;
    bool exists = false;
    std::optional<XmlDocument> document;
    std::optional<Error> error;
  };
  ConfigFiles files_;
  std::array<Slot, static_cast<std::size_t>(TableFile::kCount)> slots_;
};

// The rows of a table: the child elements of `root`, in document order.
std::vector<pugi::xml_node> element_rows(pugi::xml_node root);

}  // namespace brenvale
