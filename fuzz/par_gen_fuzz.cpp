// ParGen.xml: the reader either gives a settings record or an error naming the file; a record
// written back reads as the same record, and the Ethernet-port test agrees with the reader on
// the variant of a file that the writer laid out.
#include "fuzz_support.h"
#include "settings/ethernet_port.h"
#include "settings/settings_record.h"

using namespace brenvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = fuzz::fresh_folder("par_gen");
  const std::filesystem::path file = folder / "ParGen.xml";
  fuzz::write_bytes(file, fuzz::as_text(data, size));

  (void)ethernet_port_test(file);
  const Result<SettingsRecord> record = load_settings(file);
  const Result<EthernetPort> port = read_ethernet_port(file);
  fuzz::require(record.ok() == port.ok(), "both readers refuse the same files");
  if (!record) {
    fuzz::require(record.error().message.find("ParGen.xml") != std::string::npos, "error names the file",
                  record.error().message);
    return 0;
  }

  fuzz::require(save_settings(file, *record).ok(), "settings saved");
  fuzz::require(fuzz::entry_names(folder) == std::set<std::string>{"ParGen.xml"}, "no temporary file left");
  const Result<SettingsRecord> again = load_settings(file);
  fuzz::require(again.ok() && *again == *record, "record read back as saved", settings_file_text(*record));
  fuzz::require(has_ethernet_port(ethernet_port_test(file)) == record->with_port(),
                "the port test sees the saved variant");
  return 0;
}
