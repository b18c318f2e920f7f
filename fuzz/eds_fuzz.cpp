// The data sheet of a configuration in which one file the writer reads is fuzzed: either the
// sheet is written complete (the text the writer builds, ASCII with CR LF line ends) or the
// user gets an error and the earlier sheet stays as it was; no temporary file is left.
#include "configuration.h"
#include "eds/eds_writer.h"

using namespace brenvale;

namespace {

// The order is the fuzz driver's seed order; keep both alike.
constexpr const char* kNames[] = {"ParGen.xml", "TpdoJ1939.xml", "pdoJ1939.xml", "RInfoCob.xml", "TInfoCob.xml"};
constexpr std::string_view kOldSheet = "the sheet of an earlier run\r\n";

Result<LocalTime> fixed_clock() { return LocalTime{2024, 3, 7, 14, 30}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::FuzzedConfiguration configuration(BRENVALE_FIXTURES "/eds/several", kNames);
  std::string name;
  const ConfigFiles files{configuration.lay_out(data, size, name)};
  const std::filesystem::path out_folder = fuzz::fresh_folder("eds_out");
  const std::filesystem::path sheet = out_folder / "device.eds";
  fuzz::write_bytes(sheet, kOldSheet);

  const Status status = write_eds_for_configuration(files, sheet, fixed_clock);
  fuzz::require(fuzz::entry_names(out_folder) == std::set<std::string>{"device.eds"}, "no temporary file left");
  const std::string written = fuzz::read_bytes(sheet);
  if (!status) {
    fuzz::require(written == kOldSheet, "a failed run keeps the earlier sheet");
    fuzz::require(!status.error().message.empty(), "a failed run says why");
    return 0;
  }

  Result<EdsInputs> inputs = read_eds_inputs(files);
  fuzz::require(inputs.ok(), "the inputs of a written sheet read");
  const Result<std::string> text = eds_text(eds_template_for(files), std::move(*inputs), *fixed_clock());
  fuzz::require(text.ok() && *text == written, "the sheet is the text the writer builds");
  for (std::size_t i = 0; i < written.size(); ++i) {
    const auto c = static_cast<unsigned char>(written[i]);
    fuzz::require(c < 0x80, "the sheet is ASCII");
    if (c == '\n') fuzz::require(i > 0 && written[i - 1] == '\r', "lines end in CR LF");
  }
  return 0;
}
