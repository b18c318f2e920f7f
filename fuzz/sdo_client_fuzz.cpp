// SDOClient.xml: any file gives the five frames or an error naming the file; the frames
// written back read as the same frames; the checks give a text for every failure.
#include "canopen/sdo_client_table.h"
#include "fuzz_support.h"

using namespace brenvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = fuzz::fresh_folder("sdo_client");
  const std::filesystem::path file = folder / "SDOClient.xml";
  fuzz::write_bytes(file, fuzz::as_text(data, size));

  const Result<SdoClientTable> table = load_sdo_client_table(file);
  if (!table) {
    fuzz::require(table.error().message.find("SDOClient.xml") != std::string::npos, "error names the file",
                  table.error().message);
    return 0;
  }
  if (const auto failure = validate_sdo_client_table(*table)) {
    static const Catalogue catalogue;
    fuzz::require(!failure_text(catalogue, *failure).empty(), "every failure has a text");
  }
  fuzz::require(save_sdo_client_table(file, *table).ok(), "table saved");
  fuzz::require(fuzz::entry_names(folder) == std::set<std::string>{"SDOClient.xml"}, "no temporary file left");
  const Result<SdoClientTable> again = load_sdo_client_table(file);
  fuzz::require(again.ok() && *again == *table, "frames read back as saved", sdo_client_xml(*table));
  return 0;
}
