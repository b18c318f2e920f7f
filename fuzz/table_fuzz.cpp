// The table files of the frame, PDO and SDO server windows, one target per file (chosen by
// BRENVALE_FUZZ_TABLE at build time). Each opens a fuzzed file beside valid ones, the way its
// window does: either the table or an error naming the fuzzed file. The checks give a text for
// every failure, and the text written back opens to the same text.
#include "canopen/pdo_table.h"
#include "canopen/sdo_server_table.h"
#include "fuzz_support.h"
#include "j1939/receive_frames.h"
#include "j1939/transmit_frames.h"
#include "project/project_store.h"

using namespace brenvale;

namespace {

constexpr std::string_view kParGen =
    "<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device></Par_Gen><!--SW_VERSION = 2.001-->";
constexpr std::string_view kReceiveFrames =
    R"(<COBID><row DP="0" PGN="61444" ID_DEV="0" MultiFrame="N" StartByte="" NByte="" Delete="N" OnRequest="N" OnReq_Time="" Mnemonic="EEC1"/>)"
    R"(<row DP="0" PGN="0xFEE5" ID_DEV="$21" MultiFrame="Y" StartByte="3" NByte="12" Delete="N" OnRequest="Y" OnReq_Time="100" Mnemonic="HOURS"/></COBID><!--SW_VERSION = 2.001-->)";
constexpr std::string_view kTransmitFrames =
    R"(<COBID><row Priority="6" DP="0" PGN="65280" ID_DEV="128" NumByte="8" OnRequest="N" DataChange="N" OnTimer="Y" OnTimer_Time="100" Mnemonic="a"/>)"
    R"(<row Priority="3" DP="1" PGN="0xFF01" ID_DEV="0x20" NumByte="4" OnRequest="Y" DataChange="Y" OnTimer="N" OnTimer_Time="" Mnemonic="b"/></COBID><!--SW_VERSION = 2.001-->)";

struct Table {
  const char* file;  // the fuzzed file
  // Opens the table of `folder`; gives its file text, or the error.
  Result<std::string> (*open)(const std::filesystem::path& folder);
  // Saves what `open` read back into the file.
  Status (*save)(const std::filesystem::path& folder);
};

const Catalogue& catalogue() {
  static const Catalogue c;
  return c;
}

void check_failure(const std::optional<RowFailure>& failure) {
  if (failure) fuzz::require(!failure_text(catalogue(), *failure).empty(), "every failure has a text");
}

template <typename Frames, Result<Frames> (*Load)(const std::filesystem::path&, EthernetPort),
          std::optional<RowFailure> (*Validate)(const Frames&), std::string (*Text)(const Frames&),
          Status (*Save)(const Frames&, const std::filesystem::path&)>
struct FrameTable {
  static Result<Frames> load(const std::filesystem::path& folder, const char* file) {
    return Load(folder / file, read_ethernet_port(folder / "ParGen.xml").value());
  }
  static Result<std::string> open(const std::filesystem::path& folder, const char* file) {
    Result<Frames> t = load(folder, file);
    if (!t) return t.error();
    check_failure(Validate(*t));
    return Text(*t);
  }
  static Status save(const std::filesystem::path& folder, const char* file) {
    Result<Frames> t = load(folder, file);
    return t ? Save(*t, folder / file) : Status(t.error());
  }
};

using Receive = FrameTable<ReceiveFrames, load_receive_frames, validate_receive_frames, receive_frames_text,
                           save_receive_frames>;
using Transmit = FrameTable<TransmitFrames, load_transmit_frames, validate_transmit_frames, transmit_frames_text,
                            save_transmit_frames>;

Result<PdoTable> open_pdos(PdoVariant v, const std::filesystem::path& folder) {
  const ConfigFiles f{folder};
  return v == PdoVariant::kTransmit ? open_pdo_table(v, f.par_gen(), f.receive_frames(), f.transmit_pdos())
                                    : open_pdo_table(v, f.par_gen(), f.transmit_frames(), f.receive_pdos());
}
template <PdoVariant V>
Result<std::string> pdo_text(const std::filesystem::path& folder) {
  Result<PdoTable> t = open_pdos(V, folder);
  if (!t) return t.error();
  check_failure(validate_pdo_table(*t));
  return pdo_table_text(*t);
}
template <PdoVariant V>
Status pdo_save(const std::filesystem::path& folder) {
  Result<PdoTable> t = open_pdos(V, folder);
  const ConfigFiles f{folder};
  return t ? save_pdo_table(*t, V == PdoVariant::kTransmit ? f.transmit_pdos() : f.receive_pdos()) : Status(t.error());
}

Result<SdoServerTable> open_sdo(SdoVariant v, const std::filesystem::path& folder) {
  const ConfigFiles f{folder};
  const bool read = v == SdoVariant::kRead;
  return SdoServerTable::open(v, read ? f.receive_frames() : f.transmit_frames(), read ? f.sdo_read() : f.sdo_write());
}
template <SdoVariant V>
Result<std::string> sdo_text(const std::filesystem::path& folder) {
  Result<SdoServerTable> t = open_sdo(V, folder);
  if (!t) return t.error();
  return t->file_text();
}
template <SdoVariant V>
Status sdo_save(const std::filesystem::path& folder) {
  Result<SdoServerTable> t = open_sdo(V, folder);
  const ConfigFiles f{folder};
  return t ? t->save(V == SdoVariant::kRead ? f.sdo_read() : f.sdo_write()) : Status(t.error());
}

constexpr Table kTables[] = {
    {"RCobDef.xml", [](const std::filesystem::path& d) { return Receive::open(d, "RCobDef.xml"); },
     [](const std::filesystem::path& d) { return Receive::save(d, "RCobDef.xml"); }},
    {"TCobDef.xml", [](const std::filesystem::path& d) { return Transmit::open(d, "TCobDef.xml"); },
     [](const std::filesystem::path& d) { return Transmit::save(d, "TCobDef.xml"); }},
    {"TpdoJ1939.xml", pdo_text<PdoVariant::kTransmit>, pdo_save<PdoVariant::kTransmit>},
    {"pdoJ1939.xml", pdo_text<PdoVariant::kReceive>, pdo_save<PdoVariant::kReceive>},
    {"RInfoCob.xml", sdo_text<SdoVariant::kRead>, sdo_save<SdoVariant::kRead>},
    {"TInfoCob.xml", sdo_text<SdoVariant::kWrite>, sdo_save<SdoVariant::kWrite>},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Table& table = kTables[BRENVALE_FUZZ_TABLE];
  const std::filesystem::path folder = fuzz::fresh_folder("table");
  fuzz::write_bytes(folder / "ParGen.xml", kParGen);
  if (std::string_view(table.file) != "RCobDef.xml") fuzz::write_bytes(folder / "RCobDef.xml", kReceiveFrames);
  if (std::string_view(table.file) != "TCobDef.xml") fuzz::write_bytes(folder / "TCobDef.xml", kTransmitFrames);
  fuzz::write_bytes(folder / table.file, fuzz::as_text(data, size));
  const std::set<std::string> files = fuzz::entry_names(folder);

  const Result<std::string> text = table.open(folder);
  if (!text) {
    fuzz::require(text.error().message.find(table.file) != std::string::npos, "error names the file",
                  text.error().message);
    return 0;
  }
  fuzz::require(table.save(folder).ok(), "table saved");
  fuzz::require(fuzz::entry_names(folder) == files, "no temporary file left");
  fuzz::require(fuzz::read_bytes(folder / table.file) == *text, "the saved file is the table's text");
  const Result<std::string> again = table.open(folder);
  fuzz::require(again.ok() && *again == *text, "the saved table opens to the same text", *text);
  return 0;
}
