#include "compiler/frame_references.h"

#include "compiler/project_documents.h"
#include "text/int_text.h"

namespace brenvale {

FrameReferenceReport find_dangling_frame_references(const ConfigFiles& files) {
  FrameReferenceReport report;
  ProjectDocuments documents(files);

  // Rows of a file, or nothing when it does not exist; a file that cannot be parsed is reported once.
  std::array<bool, static_cast<std::size_t>(TableFile::kCount)> reported{};
  const auto rows_of = [&](TableFile file) -> std::optional<std::vector<pugi::xml_node>> {
    Result<const XmlDocument*> document = documents.get(file);
    if (!document) {
      bool& done = reported[static_cast<std::size_t>(file)];
      if (!done) report.unreadable.push_back(document.error());
      done = true;
      return std::nullopt;
    }
    if (*document == nullptr) return std::vector<pugi::xml_node>{};
    return element_rows((*document)->root());
  };

  struct Link {
    TableFile referring;
    const char* attribute;
    TableFile frames;
  };
  static constexpr Link kLinks[] = {
      {TableFile::kTransmitPdos, "Frame_J1939", TableFile::kReceiveFrames},
      {TableFile::kSdoRead, "NrPdo", TableFile::kReceiveFrames},
      {TableFile::kReceivePdos, "Frame_J1939", TableFile::kTransmitFrames},
      {TableFile::kSdoWrite, "NrPdo", TableFile::kTransmitFrames},
  };
  for (const Link& link : kLinks) {
    const auto frames = rows_of(link.frames);
    const auto rows = rows_of(link.referring);
    if (!frames || !rows) continue;
    const std::string file = documents.path(link.referring).filename().string();
    for (std::size_t i = 0; i < rows->size(); ++i) {
      const pugi::xml_attribute reference = (*rows)[i].attribute(link.attribute);
      if (!reference) continue;
      const std::optional<std::int32_t> frame = parse_int(reference.value());
      if (frame && *frame >= 1 && static_cast<std::size_t>(*frame) <= frames->size()) continue;
      report.dangling.push_back(
          {file, static_cast<int>(i + 1), frame ? std::to_string(*frame) : std::string(reference.value())});
    }
  }
  return report;
}

}  // namespace brenvale
