#include "eds/eds_inputs.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

// A missing file is an empty table; a file that exists but cannot be read is an error.
Result<std::optional<XmlDocument>> load_if_present(const std::filesystem::path& path) {
  std::error_code ec;
  const bool present = std::filesystem::exists(path, ec);
  if (!present && !ec) return std::optional<XmlDocument>{};
  Result<XmlDocument> document = load_xml_file(path);
  if (!document) return document.error();
  return std::optional<XmlDocument>(std::move(document).value());
}

// Rows are taken by position among the root's elements, whatever their name.
template <typename Visit>
Status for_each_row(pugi::xml_node root, Visit visit) {
  int row = 0;
  for (pugi::xml_node node = root.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    ++row;
    Status status = visit(node, row);
    if (!status) return status;
  }
  return ok_status();
}

const char* size_text(std::uint8_t code) {
  switch (code) {
    case kSize1Byte: return "1 byte";
    case kSize2Bytes: return "2 bytes";
    default: return "4 bytes";
  }
}

std::string hex4(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFFu);
  return buffer;
}

struct Origin {
  std::string file;
  int row = 0;
};

}  // namespace

Result<std::vector<PdoSummary>> read_pdo_summaries(const std::filesystem::path& pdo_file) {
  Result<std::optional<XmlDocument>> document = load_if_present(pdo_file);
  if (!document) return document.error();
  std::vector<PdoSummary> list;
  if (!document->has_value()) return list;

  Status status = for_each_row((*document)->root(), [&](pugi::xml_node node, int row) -> Status {
    if (list.size() == kMaxEdsPdos) return ok_status();
    const std::optional<std::string> cob_id = attribute(node, "COB-ID");
    if (!cob_id) return missing_attribute(pdo_file, row, "COB-ID");
    const std::optional<std::string> dimension = attribute(node, "Dimension");
    if (!dimension) return missing_attribute(pdo_file, row, "Dimension");
    PdoSummary pdo;
    pdo.cob_id = static_cast<std::uint16_t>(parse_int_or(*cob_id, 0x201));
    pdo.length = std::min<std::uint8_t>(static_cast<std::uint8_t>(parse_int_or(*dimension, 8)), 8);
    list.push_back(pdo);
    return ok_status();
  });
  if (!status) return status.error();
  return list;
}

Result<PdoSummaries> read_pdo_summaries(const ConfigFiles& files) {
  Result<std::vector<PdoSummary>> receive = read_pdo_summaries(files.receive_pdos());
  if (!receive) return receive.error();
  Result<std::vector<PdoSummary>> transmit = read_pdo_summaries(files.transmit_pdos());
  if (!transmit) return transmit.error();
  return PdoSummaries{std::move(receive).value(), std::move(transmit).value()};
}

Result<std::vector<SDO_Index>> read_server_sdo_objects(const std::filesystem::path& read_file,
                                                       const std::filesystem::path& write_file) {
  std::vector<SDO_Index> objects;
  std::map<std::pair<std::uint16_t, std::uint8_t>, Origin> seen;

  auto read_table = [&](const std::filesystem::path& path, bool readonly) -> Status {
    Result<std::optional<XmlDocument>> document = load_if_present(path);
    if (!document) return document.error();
    if (!document->has_value()) return ok_status();

    return for_each_row((*document)->root(), [&](pugi::xml_node node, int row) -> Status {
      std::int32_t numbers[3] = {};
      const char* const names[3] = {"Index", "SubIndex", "Dimension"};
      for (int k = 0; k < 3; ++k) {
        const std::optional<std::string> text = attribute(node, names[k]);
        if (!text) return missing_attribute(path, row, names[k]);
        const std::optional<std::int32_t> value = parse_int(*text);
        if (!value) {
          return Error{path.string() + ": row " + std::to_string(row) + ": " + names[k] + " \"" + *text +
                       "\" is not an integer"};
        }
        numbers[k] = *value;
      }
      const auto index = static_cast<std::uint16_t>(numbers[0]);
      SDO_Sub_Type entry;
      entry.Sub = static_cast<std::uint8_t>(numbers[1]);
      entry.Quantity = static_cast<std::uint8_t>(numbers[2]);
      entry.Readonly = readonly;

      auto object = std::find_if(objects.begin(), objects.end(), [&](const SDO_Index& o) { return o.Index == index; });
      if (object == objects.end()) {
        objects.push_back(SDO_Index{index, {}});
        object = objects.end() - 1;
      }

      const auto key = std::make_pair(index, entry.Sub);
      const auto [known, is_new] = seen.emplace(key, Origin{path.filename().string(), row});
      if (is_new) {
        object->Sub_Indexs.push_back(entry);
        return ok_status();
      }
      SDO_Sub_Type& first = *std::find_if(object->Sub_Indexs.begin(), object->Sub_Indexs.end(),
                                          [&](const SDO_Sub_Type& s) { return s.Sub == entry.Sub; });
      if (first.Quantity != entry.Quantity) {
        const Origin& origin = known->second;
        return Error{"Server SDO object 0x" + hex4(index) + " sub-index " + std::to_string(entry.Sub) +
                     " has two sizes: " + size_text(first.Quantity) + " (size code " +
                     std::to_string(first.Quantity) + ") in " + origin.file + " row " + std::to_string(origin.row) +
                     " and " + size_text(entry.Quantity) + " (size code " + std::to_string(entry.Quantity) + ") in " +
                     path.filename().string() + " row " + std::to_string(row) +
                     "; one object has one data type, so give both the same size or use another sub-index"};
      }
      first.Readonly = first.Readonly && entry.Readonly;
      return ok_status();
    });
  };

  Status status = read_table(read_file, true);
  if (!status) return status.error();
  status = read_table(write_file, false);
  if (!status) return status.error();
  return objects;
}

void sort_by_sub_index(std::vector<SDO_Index>& objects) {
  for (SDO_Index& object : objects) {
    std::stable_sort(object.Sub_Indexs.begin(), object.Sub_Indexs.end(),
                     [](const SDO_Sub_Type& a, const SDO_Sub_Type& b) { return a.Sub < b.Sub; });
  }
}

}  // namespace brenvale
