// NodeGuard.xml and NG_J1939_Frame.xml, one of them fuzzed beside a valid other (the first
// byte chooses which): any file gives the table or an error naming that file; the table
// written back reads as the same table.
#include "canopen/node_guard_table.h"
#include "fuzz_support.h"

using namespace brenvale;

namespace {

constexpr std::string_view kValidNodes =
    R"(<Node_Guarding><row NodeID="5" GuardTime="100" LifeTimeFactor="3" Mnemonic="Pump"/></Node_Guarding>)";
constexpr std::string_view kValidFrames =
    R"(<NG_J1939_Frames><row Priority="6" DataPage="0" PGN="0xFF10" SA="0x20" Mnemonic="NG"/></NG_J1939_Frames>)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool fuzz_frames = (data[0] & 1) != 0;
  const std::string_view bytes = fuzz::as_text(data + 1, size - 1);

  const std::filesystem::path folder = fuzz::fresh_folder("node_guard");
  const std::filesystem::path nodes = folder / "NodeGuard.xml";
  const std::filesystem::path frames = folder / "NG_J1939_Frame.xml";
  fuzz::write_bytes(nodes, fuzz_frames ? kValidNodes : bytes);
  fuzz::write_bytes(frames, fuzz_frames ? bytes : kValidFrames);

  const Result<NodeGuardTable> table = load_node_guard_table(nodes, frames);
  if (!table) {
    const char* name = fuzz_frames ? "NG_J1939_Frame.xml" : "NodeGuard.xml";
    fuzz::require(table.error().message.find(name) != std::string::npos, "error names the fuzzed file",
                  table.error().message);
    return 0;
  }
  fuzz::require(guarded_node_count(*table) <= kGuardedNodeRows, "at most 32 nodes");
  if (const auto failure = validate_node_guard_table(*table)) {
    static const Catalogue catalogue;
    fuzz::require(!failure_text(catalogue, *failure).empty(), "every failure has a text");
  }
  fuzz::require(save_node_guard_table(nodes, frames, *table).ok(), "table saved");
  fuzz::require(fuzz::entry_names(folder) == std::set<std::string>{"NodeGuard.xml", "NG_J1939_Frame.xml"},
                "no temporary file left");
  const Result<NodeGuardTable> again = load_node_guard_table(nodes, frames);
  fuzz::require(again.ok(), "saved table reads");
  // Rows after the first empty Node ID are not part of the list and are not written.
  const int count = guarded_node_count(*table);
  fuzz::require(guarded_node_count(*again) == count, "same number of nodes read back", node_guard_xml(*table));
  for (int i = 0; i < count; ++i) {
    fuzz::require(again->rows[static_cast<std::size_t>(i)] == table->rows[static_cast<std::size_t>(i)],
                  "node rows read back as saved", node_guard_xml(*table));
  }
  fuzz::require(again->frames == table->frames, "frames read back as saved", node_guard_frames_xml(*table));
  return 0;
}
